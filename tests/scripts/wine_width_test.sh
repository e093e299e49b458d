#!/usr/bin/env bash
# The choice of Windows width and of how 32-bit code runs, with stand-in
# loaders: one that runs, one that the kernel refuses as a 32-bit-only
# kernel refuses Wine's 32-bit loader, and one that is not there; and a
# stand-in for the binfmt_misc that could send i386 programs to qemu.
set -u
# The choice of the script that runs these tests is not theirs.
unset VANTREL_I386 VANTREL_I386_SESSION
source "$(dirname "$0")/../../scripts/wine-env.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '#!/bin/sh\necho wine-8.0\n' >"$dir/runs"
# What the shell says when the kernel refuses a program. A real i386 header
# would not do: inside the emulating namespace it goes to qemu instead.
printf '#!/bin/sh\necho "$0: cannot execute binary file: Exec format error" >&2\nexit 126\n' >"$dir/refused"
chmod +x "$dir/runs" "$dir/refused"
binfmt=private
binfmt_where() { echo "$binfmt"; }

failures=0 count=0
# expect CASE WINE32 WINE64 OVERRIDE STATUS WIDTHS REASON-PATTERN
expect() {
  local got status
  wine32_loader=$2 wine64_loader=$3 VANTREL_WINE_ARCH=$4
  decide_wine_widths
  status=$?
  got="${wine_widths[*]:-}"
  count=$((count + 1))
  if [ "$status" != "$5" ] || [ "$got" != "$6" ] || ! grep -Eq "$7" <<<"$wine_width_reason"; then
    echo "FAIL $1: status $status, widths \"$got\", reason \"$wine_width_reason\""
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}
r=$dir/runs x=$dir/refused m=$dir/missing
expect "32-bit loader runs natively"    $r $r ""    0 "win32"       "32-bit code runs natively"
expect "refused, emulation available"   $x $r ""    0 "win32"       "through qemu-i386.*kernel refuses i386 programs.*Exec format error"
expect "32-bit loader missing"          $m $r ""    2 ""            "missing is not installed"
expect "override win64 where 32 runs"   $r $r win64 0 "win64"       "VANTREL_WINE_ARCH=win64; 32-bit code runs natively"
expect "override both refused"          $r $m both  2 ""            "asks for the 64-bit programs"
expect "override misspelt"              $r $r x64   2 ""            "takes win32, win64 or both"
VANTREL_I386=emulate expect "emulation forced" $r $r "" 0 "win32"   "qemu-i386.*VANTREL_I386=emulate asks"
binfmt=machine
expect "machine's binfmt_misc, refused" $x $r both  0 "win32 win64" "both; 32-bit code runs through qemu-i386.*machine's binfmt_misc"
VANTREL_I386=emulate expect "forced, no private namespace" $r $r "" 2 "" "cannot run"
binfmt=
expect "neither way possible"           $x $r ""    2 ""            "^32-bit code cannot run here: the kernel refuses.*user namespace.*binfmt_misc"
echo "$((count - failures)) passed, $failures failed"
[ $failures -eq 0 ]
