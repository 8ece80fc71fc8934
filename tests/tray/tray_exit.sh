#!/usr/bin/env bash
# Exit from the tray icon's real menu ends the program with status 0 (the menu used to be
# destroyed inside its own action). Starts a private Xvfb and a tray host (trayer), runs the
# program in the tray over the simulated keyboard, opens the icon's menu with a right click and
# picks its last entry, Exit, with the keyboard. Exit 77: tools missing.
set -u
program=$1

for tool in Xvfb xdotool trayer; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

source "$(dirname "$0")/../support/x_session.sh"
start_xvfb 800x600

# The tray sits in the top right corner; its only icon is ours, at its right end.
trayer --edge top --align right --widthtype pixel --width 200 --height 32 > "$work/trayer.log" 2>&1 &
started+=($!)
sleep 0.5

mkdir -p "$work/home/Documents" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
export QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE="$work/keyboard.state"
# Under the sanitizers a use after free fails the run; what the X libraries keep at exit is not
# this test's business.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
"$program" /Start > "$work/program.log" 2>&1 &
program_pid=$!
started+=($program_pid)

# The icon is there once the tray has a child window painted by the program.
sleep 3
if ! kill -0 "$program_pid" 2> /dev/null; then
  echo "the program ended early:"; cat "$work/program.log"; exit 1
fi
xdotool mousemove 788 16 click 3
sleep 1
# Up from the top of the menu wraps to its last entry, Exit.
xdotool key Up Return

for ((i = 0; i < 250; i++)); do
  kill -0 "$program_pid" 2> /dev/null || break
  sleep 0.02
done
if kill -0 "$program_pid" 2> /dev/null; then
  echo "Exit from the tray menu did not end the program"; exit 1
fi
wait "$program_pid"
status=$?
if [ "$status" -ne 0 ]; then
  echo "the program ended with status $status:"; cat "$work/program.log"; exit 1
fi
echo "Exit from the tray menu ended the program with status 0"
