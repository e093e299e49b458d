#!/usr/bin/env bash
# Tests of bench-helpers.sh against a made-up /proc: a misread field there
# turns into a plausible but false figure in the benchmark's table.
set -u
here=$(cd "$(dirname "$0")" && pwd)
bench_proc=$(mktemp -d)
trap 'rm -rf "$bench_proc"' EXIT
clock_ticks=100
source "$here/bench-helpers.sh"

failures=0
check() {  # description, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected '$2', got '$3'"
    failures=$((failures + 1))
  fi
}

# A process whose command name holds blanks and a ") ", with two threads.
fake_process() {  # pid, utime, stime, thread run times (ns)...
  local dir=$bench_proc/$1 tid=$1 run
  mkdir -p "$dir/task"
  echo "$1 (wine ) (x) S 1 $1 $1 0 -1 4194560 100 0 0 0 $2 $3 0 0 20 0 2 0 5000 123 456" >"$dir/stat"
  printf 'Name:\twine\nVmRSS:\t   20768 kB\nRssAnon:\t    5404 kB\nRssFile:\t   15364 kB\n' >"$dir/status"
  shift 3
  for run in "$@"; do
    mkdir -p "$dir/task/$tid"
    echo "$run 999 7" >"$dir/task/$tid/schedstat"
    tid=$((tid + 1))
  done
}

fake_process 41 7 3 1500000 2250000
check "CPU of all threads, ticks, RssAnon and VmRSS" "3750 100 5404 20768" "$(proc_sample 41)"
fake_process 42 0 0
check "a process with no thread time" "0 0 5404 20768" "$(proc_sample 42)"
proc_sample 43 >/dev/null && check "a process that is gone fails" fail ok
mkdir -p "$bench_proc/44" && echo "44 (cut" >"$bench_proc/44/stat"
proc_sample 44 >/dev/null && check "a stat line without its fields fails" fail ok

check "median of an odd count, unsorted" 5 "$(median 9 1 5 7 3)"
check "median of an even count" 25 "$(median 40 10 30 20)"
check "median sorts numbers, not text" 9.5 "$(median 10 9 100 2)"
check "median of decimals" 0.35 "$(median 0.4 0.3)"

check "microseconds to milliseconds" 96.6 "$(to_ms 96583)"
check "ratio" 3.16 "$(ratio 213.9 67.6)"
check "ratio to a zero baseline" - "$(ratio 96.6 0.0)"
check "thousands" "2,000 / 21 / 1,234,567" "$(thousands 2000) / $(thousands 21) / $(thousands 1234567)"
check "windows path" 'Z:\work\build\bench\Game' "$(windows_path /work/build/bench/Game)"

fields() { awk -F'  +' '{print $3"|"$4"|"$5"|"$6}' <<<"$1"; }
check "a row with figure, baseline, unit and ratio" "213.9|67.6|ms|3.16" "$(fields "$(table_row 1 Launch 213.9 67.6 ms)")"
check "a failed figure keeps its baseline" "failed|0.0|ms|-" "$(fields "$(table_row 2a Idle "" 0.0 ms)")"
check "a failed baseline keeps its figure" "5404|failed|KiB|-" "$(fields "$(table_row 2b Memory 5404 "" KiB)")"
check "a count has no unit and no ratio" "7|3|-" "$(table_row 4c DLLs 7 3 "" count | awk '{print $3"|"$4"|"$5}')"
check "goals: ratio, excess over the baseline, plain limit" "yes NO yes NO yes NO" "$(meets ratio 1.40 186 133) \
$(meets ratio 1.40 187 133) $(meets above 512 612 100) $(meets above 512 613 100) $(meets most 128 128.0) \
$(meets most 128 128.1)"
check "a failed figure or baseline meets no goal" "- - -" "$(meets ratio 1.4 "" 133) $(meets above 512 600 "") $(meets most 1 "")"
check "rows and header line up" "1" "$( (table_header; table_row 1 "A long label of some length" 1 2 ms;
  table_row 4c DLLs 7 3 "" count "<= 1" yes) | awk '{print length($0)}' | sort -u | wc -l)"

if [ $failures -ne 0 ]; then echo "bench-helpers: $failures failed"; exit 1; fi
echo "bench-helpers: all passed"
