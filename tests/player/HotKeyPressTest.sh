#!/usr/bin/env bash
# A real key press reaches the player: with the default keys,
# Ctrl+Alt+Shift+Right moves from track 1 to 2 and, while track 2 plays, to 3.
# A key reaches a hot-key of a Wine process only while some Wine window has
# the X keyboard focus, so a small Wine window is shown and focused first.
# usage: HotKeyPressTest.sh BUILD_FOLDER
set -u
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

# Waits up to 30 s for a line of the command log holding the text.
wait_for_log() {
  for _ in $(seq 1 300); do
    grep -q -- "$1" "$work/vcd.log" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "FAILED: $2" >&2
  cat "$work/vcd.log" >&2
  exit 1
}

cp "$1/bin/velkin.exe" "$1/bin/vcdaudio.dll" "$work/"
printf '[Drives]\r\nDefault=E\r\nSpeed=1\r\n[E]\r\nMedia=1\r\nDoor=0\r\nTracks=2:00.00 2:00.00 2:00.00 2:00.00\r\n' >"$work/vcd.ini"
printf '[General]\r\nPlayOnExec=1\r\n' >"$work/velkin.ini"
# Drive Z: is the root of the file system.
export VCDAUDIO_STATE="Z:${work//\//\\}\\vcd.ini" VCDAUDIO_LOG="Z:${work//\//\\}\\vcd.log"

"$1/wine-run" "$work/velkin.exe" </dev/null >/dev/null 2>&1 &
wait_for_log "PLAY .*from=0x00000001" "the player did not start track 1"
"$1/wine-run" notepad </dev/null >/dev/null 2>&1 &
window=$(timeout 30 xdotool search --sync --onlyvisible --class notepad | head -n 1)
[ -n "$window" ] || { echo "FAILED: no Wine window to focus" >&2; exit 1; }
for track in 2 3; do
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --clearmodifiers ctrl+alt+shift+Right
  wait_for_log "PLAY .*from=0x0000000$track" "the key did not start track $track"
done
echo "track 1, 2 and 3 started by the key"
