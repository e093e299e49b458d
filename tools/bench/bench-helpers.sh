# What scripts/bench computes and prints, apart from running things: reading
# a process's CPU time and memory from /proc, medians, ratios and the table's
# rows. Sourced by scripts/bench and by bench-helpers-test.sh.

# The /proc to read (the test points it at a made-up one) and its tick rate.
bench_proc=${bench_proc:-/proc}
clock_ticks=${clock_ticks:-$(getconf CLK_TCK)}

# "<cpu us> <tick ms> <RssAnon kB> <VmRSS kB>" of the Unix process $1.
# The CPU time is what the scheduler counted for each of its threads, to the
# nanosecond; utime + stime come in 10 ms ticks, too coarse for a quiet
# minute, and serve as a cross-check. Fails when the process is gone.
proc_sample() {
  local dir=$bench_proc/$1 stat fields anon rss ns=0 task run
  stat=$(cat "$dir/stat" 2>/dev/null) || return 1
  # The command name in parentheses may itself hold blanks and ") ": the
  # fields that follow are counted from its last closing parenthesis.
  read -r -a fields <<<"${stat##*) }"
  [ ${#fields[@]} -ge 13 ] || return 1
  for task in "$dir"/task/*/schedstat; do
    # A thread may end between the listing and the read.
    { read -r run _ <"$task"; } 2>/dev/null && ns=$((ns + run))
  done
  anon=$(awk '/^RssAnon:/ {print $2}' "$dir/status" 2>/dev/null)
  rss=$(awk '/^VmRSS:/ {print $2}' "$dir/status" 2>/dev/null)
  [ -n "$anon" ] && [ -n "$rss" ] || return 1
  # utime and stime are fields 14 and 15 of the line, 12 and 13 after ") ".
  echo "$((ns / 1000)) $(((fields[11] + fields[12]) * 1000 / clock_ticks)) $anon $rss"
}

# Microseconds as milliseconds with one decimal.
to_ms() { awk -v us="$1" 'BEGIN {printf "%.1f", us / 1000}'; }

# The median of the arguments.
median() {
  printf '%s\n' "$@" | sort -g |
    awk '{a[NR] = $1} END {if (NR) print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'
}

# Figure over baseline with two decimals; "-" when the baseline is zero.
ratio() { awk -v v="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", v / b; else print "-"}'; }

# 2000 as "2,000".
thousands() { sed ':a; s/\B[0-9]\{3\}\>/,&/; ta' <<<"$1"; }

# A Unix path as Wine's drive Z: shows it.
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# Whether a figure meets its goal: "yes", "NO", or "-" when the figure or
# what it is compared with failed. The goal is one of
#   ratio LIMIT   figure / baseline <= LIMIT
#   above LIMIT   figure - baseline <= LIMIT
#   most LIMIT    figure <= LIMIT (the baseline is not read)
meets() { # kind limit figure baseline
  local kind=$1 limit=$2 v=$3 b=${4:-}
  [ -n "$v" ] && { [ "$kind" = most ] || [ -n "$b" ]; } || { echo -; return; }
  awk -v k="$kind" -v l="$limit" -v v="$v" -v b="$b" 'BEGIN {
    if (k == "ratio") ok = b > 0 && v / b <= l
    else if (k == "above") ok = v - b <= l
    else ok = v <= l
    print ok ? "yes" : "NO"
  }'
}

# One line of the table: key, label, figure, baseline, unit, "count" for
# figures whose ratio says nothing, then the goal as words and whether it
# was met. An empty figure or baseline failed.
table_format='%-5s %-46s %11s %11s  %-4s %6s  %-16s %-3s\n'
table_row() {
  local r=-
  [ -n "$3" ] && [ -n "$4" ] && [ "${6:-}" != count ] && r=$(ratio "$3" "$4")
  printf "$table_format" "$1" "$2" "${3:-failed}" "${4:-failed}" "${5:-}" "$r" "${7:-}" "${8:-}"
}
table_header() { printf "$table_format" "" "Figure (median)" Measured Baseline Unit Ratio Goal Met; }
