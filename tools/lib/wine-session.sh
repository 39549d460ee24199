# Shared by tools/test, tools/demo and tools/bench: a headless X display, Wine
# prefixes with the virtual CD drive registered, and persistent wineservers.
# Everything started here is stopped by session_stop.
# Source it, then choose a word size and prefix with session_use.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Debian's "wine" script always takes the 32-bit loader when it is installed,
# even where the kernel cannot run it; name the loader of the word size.
session_loader_for() {
  local loader=/usr/lib/wine/wine
  [ "$1" = win64 ] && loader=/usr/lib/wine/wine64
  if [ -x "$loader" ]; then echo "$loader"; else command -v wine; fi
}

# session_use win32|win64 PREFIX: what the following Wine commands run in.
session_use() {
  export WINEARCH=$1 WINEPREFIX=$2
  export WINELOADER
  WINELOADER=$(session_loader_for "$1")
}
# LC_ALL=ja_JP.UTF-8 gives Wine code page 932 even where the C library lacks
# that locale; only Wine gets it, so the shell does not warn about it.
wine() { LC_ALL=ja_JP.UTF-8 "$WINELOADER" "$@"; }
wineboot() { wine wineboot.exe "$@"; }

# Whether this host executes 32-bit x86 code: some kernels run 64-bit code
# only, and every i386 program, Wine's 32-bit loader too, fails there.
session_host_runs_win32() {
  "$(session_loader_for win32)" --version >/dev/null 2>&1
}

session_xvfb_pid=""
session_servers=()

session_start_xvfb() {
  local d
  for d in $(seq 90 140); do
    [ -e "/tmp/.X$d-lock" ] || [ -e "/tmp/.X11-unix/X$d" ] && continue
    Xvfb ":$d" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    session_xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$d" ] && break
      sleep 0.1
    done
    if kill -0 "$session_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$d"
      return 0
    fi
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

# Writes the registry and drive letters that the tests and the demo rely on.
session_configure_prefix() {
  local mci='HKLM\Software\Microsoft\Windows NT\CurrentVersion\MCI'
  # reg.exe of the prefix's own word size writes the view its programs read.
  wine reg add "$mci" /v cdaudio /d vcdaudio.dll /f >/dev/null
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
  session_map_fonts
  # Two CD-ROM letters whose folders the virtual drive fills.
  local letter
  for letter in d e; do
    mkdir -p "$WINEPREFIX/vcd/$letter"
    ln -sfn "$WINEPREFIX/vcd/$letter" "$WINEPREFIX/dosdevices/$letter:"
    wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d cdrom /f >/dev/null
  done
}

# The dialogs ask for Japanese Windows fonts. The proportional ones (the UI
# font and the dialog font, which is the UI font on Japanese Windows) map to
# the proportional IPA font, the fixed-pitch ones to the fixed-pitch one;
# texts laid out for a proportional font are cut off in a fixed-pitch one.
session_map_fonts() {
  local key='HKCU\Software\Wine\Fonts\Replacements' font
  for font in "MS UI Gothic" "MS Shell Dlg" "MS Shell Dlg 2" "MS PGothic" "ＭＳ Ｐゴシック"; do
    wine reg add "$key" /v "$font" /d "IPAPGothic" /f >/dev/null
  done
  for font in "MS Gothic" "ＭＳ ゴシック"; do
    wine reg add "$key" /v "$font" /d "IPAGothic" /f >/dev/null
  done
}

# Creates the prefix once; a later run finds it ready and reuses it.
session_prepare_prefix() {
  if [ -f "$WINEPREFIX/.velkin-ready" ]; then
    return 0
  fi
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1
  session_configure_prefix
  wineserver -w
  touch "$WINEPREFIX/.velkin-ready"
}

# Keeps one wineserver for the whole run. Wine's helper processes (services,
# the desktop window's explorer) are started here, away from the test
# programs' output: a helper that inherited a test's pipe would keep CTest
# waiting for its end.
session_start_server() {
  wineserver -p
  session_servers+=("$WINEPREFIX")
  echo "$DISPLAY" >"$WINEPREFIX/display"
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

# Ends the wineserver of the prefix in use.
session_stop_server() {
  wineserver -k 2>/dev/null || true
  rm -f "$WINEPREFIX/display"
}

session_stop() {
  local prefix
  for prefix in "${session_servers[@]}"; do
    WINEPREFIX=$prefix session_stop_server
  done
  session_servers=()
  if [ -n "$session_xvfb_pid" ]; then
    kill "$session_xvfb_pid" 2>/dev/null || true
    wait "$session_xvfb_pid" 2>/dev/null || true
  fi
}
