# Shared by scripts/test and scripts/demo: the packages they need, an X
# server, the Wine prefix and a persistent wine server. Source it, then call
# need_packages, start_session; stop_session runs on exit. A caller that
# wants a prefix of its own sets wine_prefix before sourcing.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VANTREL_BUILD:-$repo/build}

packages=(cmake make g++ g++-mingw-w64-i686 wine wine32:i386 xvfb googletest)

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
  echo "Installing ${missing[*]} ..."
  dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >"$build/apt.log" 2>&1 \
    || { echo "apt-get failed; see $build/apt.log" >&2; exit 1; }
}

export WINEPREFIX=${wine_prefix:-$build/wine}
export WINEARCH=win32
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="

started_pids=()

stop_session() {
  if [ -n "${wineserver_pid:-}" ]; then
    wineserver -k >/dev/null 2>&1
  fi
  local pid
  for pid in "${started_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${started_pids[@]}"; do
    wait "$pid" 2>/dev/null
  done
  started_pids=()
  wineserver_pid=
}

free_display() {
  local n
  for n in $(seq 90 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo ":$n"; return 0
    fi
  done
  return 1
}

start_session() {
  mkdir -p "$build"
  trap stop_session EXIT
  trap 'exit 130' INT TERM

  export DISPLAY
  local i
  if [ -n "${VANTREL_DISPLAY:-}" ]; then
    DISPLAY=$VANTREL_DISPLAY  # the caller's own screen
  else
    DISPLAY=$(free_display) || { echo "no free X display number" >&2; exit 1; }
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$build/xvfb.log" 2>&1 &
    started_pids+=($!)
    for i in $(seq 50); do
      [ -e "/tmp/.X11-unix/X${DISPLAY#:}" ] && break
      sleep 0.1
    done
  fi

  if [ ! -e "$WINEPREFIX/.ready" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    rm -rf "$WINEPREFIX"
    wineboot -i >"$build/wineboot.log" 2>&1
    # Without a window manager Wine waits for one at every show and hide.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$build/wineboot.log" 2>&1
    wineserver -k; wineserver -w
    touch "$WINEPREFIX/.ready"
  fi

  # A persistent server, and Wine's own service processes started now with
  # their output in a log, so they never hold a test runner's pipes open.
  wineserver -f -p >"$build/wineserver.log" 2>&1 &
  wineserver_pid=$!
  started_pids+=($wineserver_pid)
  wineboot >>"$build/wineboot.log" 2>&1
}
