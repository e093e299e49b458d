#!/usr/bin/env bash
# The choice of Windows width, with stand-in loaders: one that runs, one
# that the kernel refuses as a 32-bit-only kernel refuses Wine's 32-bit
# loader, and one that is not there.
set -u
source "$(dirname "$0")/../../scripts/wine-env.sh"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '#!/bin/sh\necho wine-8.0\n' >"$dir/runs"
printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0' >"$dir/refused"  # an i386 header
chmod +x "$dir/runs" "$dir/refused"

failures=0
# expect CASE WINE32 WINE64 OVERRIDE STATUS WIDTHS REASON-PATTERN
expect() {
  local got status
  wine32_loader=$2 wine64_loader=$3 VANTREL_WINE_ARCH=$4
  decide_wine_widths
  status=$?
  got="${wine_widths[*]:-}"
  if [ "$status" != "$5" ] || [ "$got" != "$6" ] || ! grep -Eq "$7" <<<"$wine_width_reason"; then
    echo "FAIL $1: status $status, widths \"$got\", reason \"$wine_width_reason\""
    failures=$((failures + 1))
  else
    echo "ok   $1"
  fi
}
r=$dir/runs x=$dir/refused m=$dir/missing
expect "32-bit loader runs"             $r $r ""    0 "win32"       "32-bit loader runs"
expect "32-bit loader refused"          $x $r ""    0 "win64"       "does not run.*refused: exit code 126"
expect "32-bit loader missing"          $m $r ""    0 "win64"       "missing is not installed"
expect "no loader runs"                 $x $m ""    2 ""            "Neither"
expect "override win64 where 32 runs"   $r $r win64 0 "win64"       "VANTREL_WINE_ARCH=win64"
expect "override both"                  $r $r both  0 "win32 win64" "VANTREL_WINE_ARCH=both"
expect "override win32 refused"         $x $r win32 2 ""            "asks for the 32-bit programs.*refused"
expect "override both refused"          $r $m both  2 ""            "asks for the 64-bit programs"
expect "override misspelt"              $r $r x64   2 ""            "takes win32, win64 or both"
echo "$((9 - failures)) passed, $failures failed"
[ $failures -eq 0 ]
