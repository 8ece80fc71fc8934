#!/usr/bin/env bash
# The window, the key editor and the tray in a Wayland session: a headless weston with its own
# runtime folder and socket, a StatusNotifierItem host on a private session bus (Wayland has no
# other tray), and the UI tests that open them run on Qt's wayland platform.
# Exit 77: weston or Qt's wayland platform missing.
set -u
tests=$1
here=$(dirname "$0")

command -v weston > /dev/null || { echo "weston is not installed: skipped"; exit 77; }
if ! ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so > /dev/null 2>&1; then
  echo "Qt's wayland platform (qt6-wayland) is not installed: skipped"; exit 77
fi

work=$(mktemp -d)
weston_pid=
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2> /dev/null
  wait 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
socket="quorvane-test-$$"
weston --backend=headless-backend.so --socket="$socket" --width=1600 --height=1000 --idle-time=0 \
  --no-config > "$work/weston.log" 2>&1 &
weston_pid=$!
for ((i = 0; i < 250; i++)); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  kill -0 "$weston_pid" 2> /dev/null || break
  sleep 0.02
done
if [ ! -S "$XDG_RUNTIME_DIR/$socket" ]; then
  echo "weston did not start:"; cat "$work/weston.log"; exit 1
fi

export WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland
# A headless weston has no seat, and Qt's own Wayland input method reaches for the seat's text
# input whenever a line edit draws its cursor: without this, the first focused line edit crashes
# the tests. An input method is not what these tests look at.
export QT_IM_MODULE=none
unset DISPLAY
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
# What opens windows: the main window over the simulated keyboard, the editor on its own and over
# its owner, key capture through the editor, and the checks of what Wayland does differently.
filter="SimulatedWindow.ArrivalOpensTheWindowOnceAndRemovalHidesIt"
filter+=":EditorDialogAlone.PagesShowTheirControlsAndTheirPictures"
filter+=":EditorOverSimulatedKeyboard.CapturedKeyIsAppliedAndTheKeyButtonSaysSo"
filter+=":StandardDialogs.*:*OnWayland*"
filter="${QV_WAYLAND_FILTER:-$filter}"

if command -v dbus-run-session > /dev/null && /usr/bin/python3 -c "from gi.repository import Gio" 2> /dev/null; then
  export TESTS="$tests" WATCHER="$(cd "$here/.." && pwd)/tray/sni_watcher.py" WORK="$work" FILTER="$filter"
  dbus-run-session -- bash -c '
    /usr/bin/python3 "$WATCHER" "$WORK/items" > "$WORK/watcher.log" 2>&1 &
    watcher=$!
    for ((i = 0; i < 250; i++)); do grep -q ready "$WORK/watcher.log" && break; sleep 0.02; done
    grep -q ready "$WORK/watcher.log" || { echo "the watcher did not start:"; cat "$WORK/watcher.log"; exit 1; }
    QV_TEST_ITEM_HOST=1 "$TESTS" --gtest_filter="$FILTER"
    status=$?
    kill $watcher
    exit $status'
else
  "$tests" --gtest_filter="$filter"
fi
