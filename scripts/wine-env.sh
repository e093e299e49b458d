# Which Windows width this host tests, and Wine's settings for a width.
# Sourced by wine-session.sh (scripts/test, scripts/demo, scripts/bench) and
# by wine-run (ctest's emulator); it starts nothing and installs nothing.
#
# Two widths: win32, the 32-bit programs users get, and win64, the same
# sources built for 64 bits. Some x86-64 kernels run no 32-bit code at all;
# there Wine's 32-bit loader fails with "Exec format error" even when it is
# installed, and /usr/bin/wine would still pick it. So the loaders are called
# directly, and a width counts as runnable only when its loader really runs.

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

# Decides the widths to test from the host and $VANTREL_WINE_ARCH
# (win32, win64 or both). Sets wine_widths (one or both, win32 first) and
# wine_width_reason, a sentence for the user; returns 2, with the refusal in
# wine_width_reason, when the override asks for what this host cannot run.
decide_wine_widths() {
  local want=${VANTREL_WINE_ARCH:-} can32=yes can64=yes why32= why64=
  loader_runs "$wine32_loader" || { can32=no; why32=$loader_failure; }
  loader_runs "$wine64_loader" || { can64=no; why64=$loader_failure; }
  wine_widths=()
  case "$want" in
    "")
      if [ $can32 = yes ]; then
        wine_widths=(win32)
        wine_width_reason="Wine's 32-bit loader runs on this host"
      elif [ $can64 = yes ]; then
        wine_widths=(win64)
        wine_width_reason="Wine's 32-bit loader does not run on this host ($why32); VANTREL_WINE_ARCH=win32|win64|both chooses otherwise"
      else
        wine_width_reason="Neither of Wine's loaders runs on this host ($why32; $why64)."
        return 2
      fi ;;
    win32|win64|both)
      if [ "$want" != win64 ] && [ $can32 = no ]; then
        wine_width_reason="VANTREL_WINE_ARCH=$want asks for the 32-bit programs, but Wine's 32-bit loader does not run on this host ($why32)."
        return 2
      fi
      if [ "$want" != win32 ] && [ $can64 = no ]; then
        wine_width_reason="VANTREL_WINE_ARCH=$want asks for the 64-bit programs, but Wine's 64-bit loader does not run on this host ($why64)."
        return 2
      fi
      case "$want" in
        both) wine_widths=(win32 win64) ;;
        *) wine_widths=("$want") ;;
      esac
      wine_width_reason="chosen by VANTREL_WINE_ARCH=$want" ;;
    *)
      wine_width_reason="VANTREL_WINE_ARCH is \"$want\"; it takes win32, win64 or both."
      return 2 ;;
  esac
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
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko: nothing here needs them, and their installers would ask.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
}
