#!/usr/bin/env bash
# A real key press reaches the player: with the default keys,
# Ctrl+Alt+Shift+Right moves from track 1 to 2 and, while track 2 plays, to 3.
# A key reaches a hot-key of a Wine process only while some Wine window has
# the X keyboard focus, so a small Wine window is shown and focused first.
# usage: HotKeyPressTest.sh BUILD_FOLDER
set -u

build=$1
run="$build/wine-run"
work=$(mktemp -d)
player_pid=""
focus_pid=""

cleanup() {
  [ -n "$player_pid" ] && kill "$player_pid" 2>/dev/null
  [ -n "$focus_pid" ] && kill "$focus_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  echo "--- command log" >&2
  cat "$work/vcd.log" >&2 2>/dev/null
  exit 1
}

# The Wine path of a file: drive Z: is the root of the file system.
windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

# Waits up to 30 s for a line of the command log holding the text.
wait_for_log() {
  local i
  for i in $(seq 1 300); do
    grep -q -- "$1" "$work/vcd.log" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

cp "$build/bin/velkin.exe" "$build/bin/vcdaudio.dll" "$work/"
printf '[Drives]\r\nDefault=E\r\nSpeed=1\r\n[D]\r\nMedia=0\r\nDoor=0\r\n[E]\r\nMedia=1\r\nDoor=0\r\nTracks=2:00.00 2:00.00 2:00.00 2:00.00\r\n' >"$work/vcd.ini"
printf '[General]\r\nPlayOnExec=1\r\n' >"$work/velkin.ini"
export VCDAUDIO_STATE VCDAUDIO_LOG
VCDAUDIO_STATE=$(windows_path "$work/vcd.ini")
VCDAUDIO_LOG=$(windows_path "$work/vcd.log")

"$run" "$work/velkin.exe" </dev/null >/dev/null 2>&1 &
player_pid=$!
wait_for_log "PLAY .*from=0x00000001" || fail "the player did not start track 1"

"$run" notepad </dev/null >/dev/null 2>&1 &
focus_pid=$!
window=""
for i in $(seq 1 300); do
  window=$(xdotool search --onlyvisible --class notepad 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no Wine window to focus"

press_next() {
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --clearmodifiers ctrl+alt+shift+Right
}

press_next
wait_for_log "PLAY .*from=0x00000002" || fail "the key did not start track 2"
press_next
wait_for_log "PLAY .*from=0x00000003" || fail "the key did not start track 3 while track 2 played"
echo "track 1, 2 and 3 started by the key"
