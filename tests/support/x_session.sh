# Shared by the tests that drive the program through a real X server: a private Xvfb, a waiter,
# and the clean-up of every process started. Source it, then call start_xvfb WIDTHxHEIGHT.
# Processes to end on exit go into the array `started`.
started=()
work=$(mktemp -d)
cleanup() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2> /dev/null; done
  wait 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to 5 s for a command to succeed, looking every 20 ms.
wait_for() {
  local i
  for ((i = 0; i < 250; i++)); do
    "$@" && return 0
    sleep 0.02
  done
  return 1
}

# Xvfb picks a free display itself and writes its number to the given descriptor.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3> "$work/display" 2> "$work/xvfb.log" &
  started+=($!)
  if ! wait_for test -s "$work/display"; then
    echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1
  fi
  export DISPLAY=":$(head -n1 "$work/display")"
}
