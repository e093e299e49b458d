# Which Windows width this host tests, and Wine's settings for a width.
# Sourced by wine-session.sh (scripts/test, scripts/demo, scripts/bench) and
# by wine-run (ctest's emulator); it starts nothing and installs nothing.
#
# Two widths: win32, the 32-bit programs users get, and win64, the same
# sources built for 64 bits. Some x86-64 kernels run no 32-bit code at all;
# there Wine's 32-bit loader fails with "Exec format error" even when it is
# installed, and /usr/bin/wine would still pick it. So the loaders are called
# directly, and where the 32-bit one does not run, it runs through qemu-i386
# (see i386-emulation.sh).

# The loaders; tests point these at stand-ins.
wine32_loader=${wine32_loader:-/usr/lib/wine/wine}
wine64_loader=${wine64_loader:-/usr/lib/wine/wine64}

# "win32 is runnable" when Wine's 32-bit loader prints its version here.
# On failure the reason, one line, is in $loader_failure.
loader_runs() { # loader
  local out status
  if [ ! -e "$1" ]; then
    loader_failure="$1 is not installed"
    return 1
  fi
  out=$("$1" --version 2>&1)
  status=$?
  if [ $status -ne 0 ]; then
    out=$(tr -d '\r' <<<"$out" | grep -v '^$' | tail -1)
    loader_failure="$1: exit code $status${out:+, ${out##*: }}"
    return 1
  fi
}

# Where a binfmt_misc can send i386 programs to an emulator here:
# "private" in a user and mount namespace of the scripts' own (Linux 6.7 and
# later), "machine" in the machine's own (root only); nothing when neither.
# Tests put a stand-in in its place.
binfmt_where() {
  if command -v unshare >/dev/null &&
     unshare --user --map-root-user --mount --propagation private \
       sh -c 'mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc' 2>/dev/null; then
    echo private
  elif [ "$(id -u)" -eq 0 ] && [ -w /proc/sys/fs/binfmt_misc/register ]; then
    echo machine
  fi
}

# How Wine's 32-bit loader runs here: i386_mode is "native", "emulated"
# (through qemu-i386, registered in the binfmt_misc $i386_binfmt names) or
# "none"; i386_words says so, and why, for the user. VANTREL_I386=emulate
# takes the emulated way even where the kernel runs 32-bit code, to try it.
decide_i386() {
  local forced=no where
  i386_binfmt=
  case "${VANTREL_I386:-}" in
    "") ;;
    emulate) forced=yes ;;
    *) i386_mode=none
       i386_words="VANTREL_I386 is \"$VANTREL_I386\"; it takes only emulate"
       return ;;
  esac
  # A script that already runs in its emulating namespace.
  if [ -n "${VANTREL_I386_SESSION:-}" ]; then
    i386_mode=emulated i386_binfmt=$VANTREL_I386_SESSION
    i386_words="32-bit code runs through qemu-i386 here"
    return
  fi
  if [ $forced = no ] && loader_runs "$wine32_loader"; then
    i386_mode=native i386_words="32-bit code runs natively here"
    return
  fi
  local why="because the kernel refuses i386 programs (${loader_failure:-})"
  [ $forced = yes ] && why="because VANTREL_I386=emulate asks for it"
  if [ ! -e "$wine32_loader" ]; then
    i386_mode=none i386_words="32-bit code cannot run here: $wine32_loader is not installed"
  elif [ $forced = no ] && ! grep -q 'Exec format error' <<<"$loader_failure"; then
    i386_mode=none i386_words="32-bit code cannot run here: Wine's 32-bit loader fails ($loader_failure)"
  else
    where=$(binfmt_where)
    # The machine's own binfmt_misc only where it changes nothing that
    # worked: on a host whose kernel refuses i386 programs anyway.
    if [ "$where" = private ] || { [ "$where" = machine ] && [ $forced = no ]; }; then
      i386_mode=emulated i386_binfmt=$where
      i386_words="32-bit code runs through qemu-i386 here, $why"
      [ "$where" = machine ] && i386_words+=" (registered in this machine's binfmt_misc until the script ends: this kernel lets no namespace have its own)"
    else
      i386_mode=none
      i386_words="32-bit code cannot run here: ${why#because }, and emulating it needs a user namespace that may mount its own binfmt_misc (Linux 6.7 or later), which this host refuses"
    fi
  fi
}

# Decides the widths to test from the host and $VANTREL_WINE_ARCH
# (win32, win64 or both): win32, the programs users get, unless asked
# otherwise. Sets wine_widths (one or both, win32 first) and
# wine_width_reason, a sentence for the user that also says how 32-bit code
# runs; returns 2, with the refusal in wine_width_reason, when the choice
# asks for what this host cannot run.
decide_wine_widths() {
  local want=${VANTREL_WINE_ARCH:-} can64=yes why64=
  wine_widths=()
  case "$want" in
    ""|win32|win64|both) ;;
    *) wine_width_reason="VANTREL_WINE_ARCH is \"$want\"; it takes win32, win64 or both."
       return 2 ;;
  esac
  decide_i386
  loader_runs "$wine64_loader" || { can64=no; why64=$loader_failure; }
  if [ "$want" != win64 ] && [ "$i386_mode" = none ]; then
    wine_width_reason="$i386_words."
    return 2
  fi
  if [ "$want" = win64 ] || [ "$want" = both ] && [ $can64 = no ]; then
    wine_width_reason="VANTREL_WINE_ARCH=$want asks for the 64-bit programs, but Wine's 64-bit loader does not run on this host ($why64)."
    return 2
  fi
  case "$want" in
    both) wine_widths=(win32 win64) ;;
    win64) wine_widths=(win64) ;;
    *) wine_widths=(win32) ;;
  esac
  wine_width_reason=$i386_words
  if [ -n "$want" ]; then wine_width_reason="chosen by VANTREL_WINE_ARCH=$want; $i386_words"; fi
}

# Facts of one width: the CMake preset (its build tree has the same name
# under $build) and a description for people.
width_preset() { case "$1" in win32) echo windows ;; win64) echo windows-x64 ;; esac; }
width_words() { case "$1" in win32) echo "the 32-bit Windows build" ;; win64) echo "the 64-bit Windows build under wine64" ;; esac; }

# The project version a configured build tree was made for.
built_version() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt"; }
# The setup program a width's build tree makes (named in cmake/setup.cmake).
setup_program() { # width tree
  local suffix=
  [ "$1" = win64 ] && suffix=-x64
  echo "$2/package/Vantrel-$(built_version "$2")$suffix-setup.exe"
}

# Exports Wine's settings for a width: the loader (also in $wine, which the
# scripts call instead of /usr/bin/wine), the prefix (a base path, "64" added
# for win64, so the two widths never share one) and the quiet defaults.
use_wine_width() { # width prefix-base
  export WINEARCH=$1
  case "$1" in
    win32) wine=$wine32_loader; export WINEPREFIX=$2 ;;
    win64) wine=$wine64_loader; export WINEPREFIX=${2}64 ;;
    *) echo "unknown Windows width \"$1\"" >&2; return 2 ;;
  esac
  export WINELOADER=$wine
  # Under qemu-i386, the library that gives Wine the fault numbers qemu
  # leaves out (see i386-emulation.sh).
  if [ "$1" = win32 ] && [ -n "${VANTREL_I386_PRELOAD:-}" ] &&
     [[ " ${LD_PRELOAD:-} " != *" $VANTREL_I386_PRELOAD "* ]]; then
    export LD_PRELOAD=$VANTREL_I386_PRELOAD${LD_PRELOAD:+ $LD_PRELOAD}
  fi
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko: nothing here needs them, and their installers would ask.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}
