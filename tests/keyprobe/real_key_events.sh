#!/usr/bin/env bash
# Key events from a real X server reach the key event filter as the keys of their positions.
# Starts a private Xvfb, runs the probe window, types with xdotool and compares what the probe's
# hook was offered ("press|repeat|release <key code> <virtual key>"). Exit 77: tools missing.
set -u
probe=$1

for tool in Xvfb xdotool; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

source "$(dirname "$0")/../support/x_session.sh"
start_xvfb 640x480

QT_QPA_PLATFORM=xcb "$probe" > "$work/out" 2> "$work/probe.log" &
started+=($!)
if ! wait_for grep -qx ready "$work/out"; then
  echo "the probe window never got the focus:"; cat "$work/probe.log"; exit 1
fi

seen=1  # lines of the probe's output already checked
failures=0

# expect "<what was done>" "<expected lines, ';'-separated>" [codes to leave out]
# Compares the lines the probe printed since the last check, leaving out the events of the codes
# given: xdotool presses a left-hand modifier along with a right-hand one, and Num Lock around
# keypad digits.
expect() {
  local what=$1 expected=$2 ignore=${3:-}
  local want count got
  want=$(tr ';' '\n' <<< "$expected")
  count=$(wc -l <<< "$want")
  filter() { if [ -n "$ignore" ]; then grep -Ev " ($ignore) " || true; else cat; fi; }
  wait_for eval '[ "$(tail -n +$((seen + 1)) "$work/out" | filter | wc -l)" -ge "$count" ]'
  got=$(tail -n +$((seen + 1)) "$work/out" | filter)
  seen=$(wc -l < "$work/out")
  if [ "$got" != "$want" ]; then
    echo "FAIL $what"; echo "  expected: $(tr '\n' ' ' <<< "$want")"; echo "  got:      $(tr '\n' ' ' <<< "$got")"
    failures=$((failures + 1))
  else
    echo "ok   $what"
  fi
}

key() { xdotool key --delay 0 "$@"; }

key a z q m;           expect "letters" "press 01E 41;release 01E 41;press 02C 5A;release 02C 5A;press 010 51;release 010 51;press 032 4D;release 032 4D"
key 1 0 minus grave;   expect "digits and signs" "press 002 31;release 002 31;press 00B 30;release 00B 30;press 00C BD;release 00C BD;press 029 C0;release 029 C0"
key F1 F12 Escape Return Tab BackSpace space
expect "function and editing keys" "press 03B 70;release 03B 70;press 058 7B;release 058 7B;press 001 1B;release 001 1B;press 01C 0D;release 01C 0D;press 00F 09;release 00F 09;press 00E 08;release 00E 08;press 039 20;release 039 20"
key Control_L Shift_L Alt_L
expect "left modifiers" "press 01D A2;release 01D A2;press 02A A0;release 02A A0;press 038 A4;release 038 A4"
key Control_R;         expect "right Ctrl" "press 11D A3;release 11D A3" "01D"
key Alt_R;             expect "right Alt" "press 138 A5;release 138 A5" "038"
key Shift_R;           expect "right Shift" "press 036 A1;release 036 A1" "02A"
key Super_L;           expect "left Windows key" "press 15B 5B;release 15B 5B"
key Super_R;           expect "right Windows key" "press 15C 5C;release 15C 5C" "15B"
key Menu;              expect "App key" "press 15D 5D;release 15D 5D"
key Up Down Left Right
expect "arrows" "press 148 26;release 148 26;press 150 28;release 150 28;press 14B 25;release 14B 25;press 14D 27;release 14D 27"
key Insert Delete Home End Prior Next
expect "navigation block" "press 152 2D;release 152 2D;press 153 2E;release 153 2E;press 147 24;release 147 24;press 14F 23;release 14F 23;press 149 21;release 149 21;press 151 22;release 151 22"
# Print Screen reaches the hooks only as its release, as on Windows.
key Print;             expect "Print Screen" "release 137 2C"
key alt+Print;         expect "Sys Req" "press 038 A4;release 038 A4;release 054 2C"
key Pause;             expect "Pause" "press 045 13;release 045 13"
key ctrl+Pause;        expect "Break" "press 01D A2;press 146 03;release 01D A2;release 146 03"
key Scroll_Lock Caps_Lock Caps_Lock
expect "locks" "press 046 91;release 046 91;press 03A 14;release 03A 14;press 03A 14;release 03A 14"
# Num Lock off: the pad reports its navigation codes, still as the pad's keys.
key KP_Home KP_Begin KP_Insert KP_Delete
expect "keypad, Num Lock off" "press 047 24;release 047 24;press 04C 0C;release 04C 0C;press 052 2D;release 052 2D;press 053 2E;release 053 2E"
key KP_Divide KP_Multiply KP_Subtract KP_Add KP_Enter
expect "keypad operators" "press 135 6F;release 135 6F;press 037 6A;release 037 6A;press 04A 6D;release 04A 6D;press 04E 6B;release 04E 6B;press 11C 0D;release 11C 0D"
key Num_Lock;          expect "Num Lock" "press 145 90;release 145 90"
key KP_7 KP_0;         expect "keypad, Num Lock on" "press 047 67;release 047 67;press 052 60;release 052 60" "145"
key Num_Lock;          expect "Num Lock again" "press 145 90;release 145 90"
key XF86AudioRaiseVolume XF86AudioMute
expect "media keys" "press 130 AF;release 130 AF;press 120 AD;release 120 AD"

# A held key: one press, repeats with the previous-state bit, one release.
since_check() { tail -n +$((seen + 1)) "$work/out"; }
printed() { since_check | grep -q "^$1"; }
xdotool keydown a
wait_for printed "repeat 01E"
xdotool keyup a
wait_for printed "release 01E"
held=$(since_check | awk '{print $1, $2}' | uniq | tr '\n' ';')
repeats=$(since_check | grep -c "^repeat 01E")
seen=$(wc -l < "$work/out")
if [ "$held" = "press 01E;repeat 01E;release 01E;" ] && [ "$repeats" -ge 1 ]; then
  echo "ok   held key ($repeats repeats)"
else
  echo "FAIL held key: $held"; failures=$((failures + 1))
fi

# Another layout changes the characters, not the keys: AZERTY's a is at the place of Q.
if command -v setxkbmap > /dev/null && setxkbmap fr 2> /dev/null; then
  # m sits where QWERTY has ; and ; where it has the comma.
  key a q w m semicolon
  expect "AZERTY letters keep their positions" "press 010 51;release 010 51;press 01E 41;release 01E 41;press 02C 5A;release 02C 5A;press 027 BA;release 027 BA;press 033 BC;release 033 BC"
  setxkbmap us
else
  echo "setxkbmap cannot switch the layout: AZERTY part skipped"
fi

key Escape;            expect "nothing left over" "press 001 1B;release 001 1B"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"; exit 1
fi
echo "all real key events came through"
