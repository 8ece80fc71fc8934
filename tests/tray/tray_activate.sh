#!/usr/bin/env bash
# Opening the window from the tray icon, under both kinds of tray host, over the simulated
# keyboard with the program started in the tray ("/Start"):
# - an X11 tray (trayer, XEmbed): a single click leaves the window hidden, a double-click opens it;
# - a StatusNotifierItem host (a watcher of our own on a private session bus): the item registers
#   with the theme's icon name and its three-entry menu, and its Activate opens the window.
# Exit 77: the X11 tools missing, or the session bus tools missing after the X11 tray passed.
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb xdotool trayer; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

source "$here/../support/x_session.sh"
start_xvfb 800x600

mkdir -p "$work/home/Documents" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
export QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE="$work/keyboard.state"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# A hicolor theme holding the program's icon, as the installed package provides it.
icons="$work/share/icons/hicolor"
mkdir -p "$icons/48x48/apps"
cp "$(dirname "$program")/Skins/icon141.png" "$icons/48x48/apps/quorvane.png"
printf '[Icon Theme]\nName=Hicolor\nDirectories=48x48/apps\n\n[48x48/apps]\nSize=48\nType=Threshold\n' \
  > "$icons/index.theme"
export XDG_DATA_DIRS="$work/share"
# The main window's caption in either language section of the skin's text file.
caption="^Quorvane (Keyboard Settings|键盘设置)$"

# The main window is shown; a message box carries the same caption but is far narrower.
window_shown() {
  local w width
  for w in $(xdotool search --onlyvisible --name "$caption" 2> /dev/null); do
    width=$(xdotool getwindowgeometry "$w" 2> /dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${width:-0}" -ge 600 ] && return 0
  done
  return 1
}
fail() { echo "$1"; echo "program output:"; cat "$work/program.log"; exit 1; }

# Starts the program in the tray and waits until the simulated keyboard has arrived.
start_program() {
  "$program" /Start > "$work/program.log" 2>&1 &
  program_pid=$!
  started+=($program_pid)
  sleep 3
  kill -0 "$program_pid" 2> /dev/null || fail "the program ended early"
  window_shown && fail "the window opened although the program was started in the tray"
}

stop_program() {
  kill "$program_pid" 2> /dev/null
  wait "$program_pid" 2> /dev/null
}

# --- X11 tray ---
trayer --edge top --align right --widthtype pixel --width 200 --height 32 > "$work/trayer.log" 2>&1 &
trayer_pid=$!
started+=($trayer_pid)
sleep 0.5
start_program
xdotool mousemove 788 16 click 1
sleep 1
window_shown && fail "a single click in the X11 tray opened the window"
xdotool click --repeat 2 --delay 80 1
wait_for window_shown || fail "a double-click in the X11 tray did not open the window"
echo "X11 tray: a single click leaves the window hidden, a double-click opens it"
stop_program
kill "$trayer_pid" 2> /dev/null

# --- StatusNotifierItem host on a private session bus ---
for tool in dbus-run-session gdbus; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed: item host skipped"; exit 77; }
done
/usr/bin/python3 -c "from gi.repository import Gio" 2> /dev/null \
  || { echo "python3-gi is not installed: item host skipped"; exit 77; }

# Runs inside the private bus; the watcher and the program end with it when this returns.
on_item_host() {
  set -u
  started=()
  trap 'for pid in "${started[@]}"; do kill "$pid" 2> /dev/null; done' EXIT
  /usr/bin/python3 "$here/sni_watcher.py" "$work/items" > "$work/watcher.log" 2>&1 &
  started+=($!)
  wait_for grep -q ready "$work/watcher.log" || { echo "the watcher did not start:"; cat "$work/watcher.log"; exit 1; }
  start_program
  wait_for test -s "$work/items" || fail "no item registered with the watcher"
  local name path icon
  read -r name path < "$work/items"
  icon=$(gdbus call --session --dest "$name" --object-path "$path" \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem IconName)
  [ "$icon" = "(<'quorvane'>,)" ] || fail "the item names the icon $icon, not the theme icon quorvane"
  # The host draws the menu itself from what the item exports: Open, About and Exit.
  local menu labels entry
  menu=$(gdbus call --session --dest "$name" --object-path "$path" \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu \
    | sed -n "s/.*objectpath '\([^']*\)'.*/\1/p")
  [ -n "$menu" ] || fail "the item exports no menu"
  gdbus call --session --dest "$name" --object-path "$menu" \
    --method com.canonical.dbusmenu.AboutToShow 0 > /dev/null
  labels=$(gdbus call --session --dest "$name" --object-path "$menu" \
    --method com.canonical.dbusmenu.GetLayout -- 0 -1 '["label"]' | grep -o "'label': <'[^']\+'>")
  for entry in Open About Exit; do
    grep -q "<'&\?$entry'>" <<<"$labels" || fail "the exported menu has no $entry entry: $labels"
  done
  gdbus call --session --dest "$name" --object-path "$path" \
    --method org.kde.StatusNotifierItem.Activate 0 0 > /dev/null || fail "Activate was refused"
  wait_for window_shown || fail "Activate from the item host did not open the window"
  echo "item host: the icon is named quorvane, the menu has Open, About and Exit, Activate opens the window"
}

export work program here caption
export -f on_item_host start_program window_shown fail wait_for
dbus-run-session -- bash -c on_item_host
