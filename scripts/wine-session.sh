# Shared by scripts/test, scripts/demo and scripts/bench: the packages they
# need, the Windows width to test, an X server, a Wine prefix per width and a
# persistent wine server. Source it, then call need_packages, choose_widths,
# start_session and enter_width; stop_session runs on exit. A caller that
# wants prefixes of its own sets wine_prefix (the 32-bit one; the 64-bit one
# gets "64" added) before sourcing.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VANTREL_BUILD:-$repo/build}
source "$repo/scripts/wine-env.sh"
source "$repo/scripts/i386-emulation.sh"
wine_prefix_base=${wine_prefix:-$build/wine}

# Both widths' compilers and Wine, whichever width this host will test: the
# other width is built too, so that a compile break at either one shows.
# Python checks every link and dates the release files; Wine's own fonts and
# Liberation's stand in for the Windows fonts the windows and pictures use;
# xdotool is the tray tests' real pointer; osslsigncode, openssl and 7-Zip
# sign a release with a throwaway key and take its uninstaller out to check.
packages=(cmake make g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 python3 wine wine32:i386 wine64 fonts-wine fonts-liberation xvfb xdotool googletest nsis
          osslsigncode openssl 7zip)

need_packages() {
  local missing=() p
  for p in "${packages[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local cmd="dpkg --add-architecture i386 && apt-get update && apt-get install -y ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root:  $cmd" >&2
    exit 2
  fi
  mkdir -p "$build"
  echo "Installing ${missing[*]} ..."
  { dpkg --add-architecture i386 && apt-get update &&
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"; } >"$build/apt.log" 2>&1 ||
    { tail -20 "$build/apt.log" >&2; echo "Installing packages failed; the whole log: $build/apt.log" >&2; exit 1; }
}

# Decides the widths (see wine-env.sh) and says so first, with how 32-bit
# code runs here; refuses a choice this host cannot run. $1 says what the
# caller does with them. As $2, "one" keeps only the first, for a caller
# that runs a single width; "timed" too, but takes the 64-bit programs
# rather than emulated 32-bit ones, whose timings would measure qemu.
# A script started again in its emulating namespace has said it all.
choose_widths() { # verb [one|timed]
  local w words=() note=
  if ! decide_wine_widths; then
    echo "$wine_width_reason" >&2
    exit 2
  fi
  if [ "${2:-}" = timed ] && [ "$i386_mode" = emulated ] && [ "${VANTREL_WINE_ARCH:-}" != win32 ]; then
    VANTREL_WINE_ARCH=win64 decide_wine_widths ||
      { echo "$i386_words, and its timings would measure qemu; $wine_width_reason" >&2; exit 2; }
    wine_width_reason=$i386_words
    note=", so the timing rows run the 64-bit programs (emulated, they would measure qemu)"
  fi
  if [ -n "${2:-}" ] && [ ${#wine_widths[@]} -gt 1 ]; then
    wine_widths=("${wine_widths[0]}")
    note=" (one width here; both are tested by scripts/test)"
  fi
  [ -n "${VANTREL_I386_SESSION:-}" ] && return 0
  for w in "${wine_widths[@]}"; do words+=("$(width_words "$w")"); done
  local joined=${words[0]}
  [ ${#words[@]} -gt 1 ] && joined="${words[0]}, then ${words[1]}"
  echo "$1 $joined: $wine_width_reason$note."
}

started_pids=()

stop_wine_server() {
  if [ -n "${wineserver_pid:-}" ]; then
    wineserver -k >/dev/null 2>&1
    wait "$wineserver_pid" 2>/dev/null
  fi
  wineserver_pid=
}

stop_session() {
  stop_wine_server
  unregister_i386_machine
  local pid
  for pid in "${started_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${started_pids[@]}"; do
    wait "$pid" 2>/dev/null
  done
  started_pids=()
}

# The X server: a virtual one that picks a free display itself and says
# which, or the caller's own screen in $VANTREL_DISPLAY.
start_display() {
  export DISPLAY
  if [ -n "${VANTREL_DISPLAY:-}" ]; then
    DISPLAY=$VANTREL_DISPLAY
    return 0
  fi
  local number_file=$build/xvfb.display i
  : >"$number_file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >"$build/xvfb.log" 2>&1 &
  local pid=$!
  started_pids+=($pid)
  for i in $(seq 100); do
    if grep -q '^[0-9]' "$number_file"; then
      DISPLAY=:$(head -1 "$number_file")
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  tail -20 "$build/xvfb.log" >&2
  echo "The virtual X server (Xvfb) did not come up; its log: $build/xvfb.log" >&2
  exit 1
}

start_session() {
  mkdir -p "$build"
  trap stop_session EXIT
  trap 'exit 130' INT TERM
  start_display
}

# The settings every prefix gets, on creation and in a prefix made before
# they changed: a crash ends its program at once, with Wine's crash line in
# the output, instead of waiting for a debugger (an empty Debugger value;
# without one Wine still starts winedbg), and Wine's own fonts, which this
# Wine does not find where Debian's fonts-wine puts them: without Marlett
# the title bars lack their buttons. .ready holds the version applied.
prefix_settings_version=2
settle_prefix() {
  local view fonts=$WINEPREFIX/drive_c/windows/Fonts font
  for view in 32 64; do
    [ $view = 64 ] && [ "$WINEARCH" != win64 ] && continue
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f \
      /reg:$view || return 1
  done
  mkdir -p "$fonts" || return 1
  for font in /usr/share/wine/fonts/*; do
    [ -e "$font" ] && [ ! -e "$fonts/${font##*/}" ] && { ln -s "$font" "$fonts/" || return 1; }
  done
  return 0
}

# Makes the prefix of the current width, once, and brings its settings up to
# date. It counts as ready only when a Windows program has run in it, so a
# prefix whose creation failed is made again next time rather than reused.
make_prefix() {
  local log=$build/wineboot-$WINEARCH.log
  [ "$(cat "$WINEPREFIX/.ready" 2>/dev/null)" = "$prefix_settings_version" ] && return 0
  if [ ! -e "$WINEPREFIX/.ready" ]; then
    echo "Creating the $WINEARCH Wine prefix in $WINEPREFIX ..."
    rm -rf "$WINEPREFIX"
    # Without a window manager Wine waits for one at every show and hide.
    "$wine" wineboot -i >"$log" 2>&1 &&
      "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$log" 2>&1 ||
      prefix_failed "$log"
  fi
  # reg is a Windows program, so its success also shows that the prefix works.
  settle_prefix >>"$log" 2>&1 || prefix_failed "$log"
  # The desktop process that wineboot started reads the settings at start.
  wineserver -k >>"$log" 2>&1
  wineserver -w
  echo "$prefix_settings_version" >"$WINEPREFIX/.ready"
}
prefix_failed() { # log
  wineserver -k >/dev/null 2>&1
  tail -20 "$1" >&2
  echo "Creating or settling the Wine prefix $WINEPREFIX failed; its log: $1" >&2
  exit 1
}

# Keeps Wine's desktop up for the whole session. Wine ends its desktop
# process a second after the last program using the desktop ends, and the
# next program that needs a desktop starts a new one, which inherits that
# program's output. So each test would start it anew and wait for it
# (seconds under qemu-i386), a test runner's pipe could stay held by it, and
# a test that begins while the old one is closing races its end. A console
# program waiting on its input uses the desktop from its start and shows no
# window; started before wineboot, which then brings up the desktop process
# with its output in a log.
hold_desktop() {
  local fifo=$build/desktop-holder.fifo
  if [ -z "${desktop_holder_fd:-}" ]; then
    rm -f "$fifo"
    mkfifo "$fifo" && exec {desktop_holder_fd}<>"$fifo" || return 1
  fi
  "$wine" cmd.exe <&"$desktop_holder_fd" >"$build/desktop-holder-$WINEARCH.log" 2>&1 &
}

# Switches the session to one width: its settings, its prefix, and a
# persistent server whose service processes (started now, with their output
# in a log) never hold a test runner's pipes open.
enter_width() { # width
  stop_wine_server
  use_wine_width "$1" "$wine_prefix_base" || exit 2
  make_prefix
  wineserver -f -p >"$build/wineserver-$WINEARCH.log" 2>&1 &
  wineserver_pid=$!
  local log=$build/wineboot-$WINEARCH.log
  if ! hold_desktop || ! "$wine" wineboot >>"$log" 2>&1; then
    tail -20 "$log" >&2
    echo "Wine did not start in $WINEPREFIX; its log: $log" >&2
    exit 1
  fi
}
