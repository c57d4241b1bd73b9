# Sourced by the benchmarks that hold quorgen against sox doing the same work.

# Seconds of wall-clock time of a command (its output discarded), best of five.
best_wall() {
  local best="" t
  for _ in 1 2 3 4 5; do
    t=$( { TIMEFORMAT=%R; time "$@" >/dev/null 2>&1; } 2>&1 )
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$t; fi
  done
  echo "$best"
}

# One line of figures: NAME, quorgen's and sox's seconds, and the TARGET their ratio must meet.
ratio_line() {  # name ours theirs target
  awk -v n="$1" -v q="$2" -v s="$3" -v t="$4" 'BEGIN{
    r = (s > 0) ? q / s : 0;
    printf "%-34s quorgen %7.3f s   sox %7.3f s   ratio %5.2f (target <= %.1f) %s\n",
           n, q, s, r, t, (r <= t ? "met" : "NOT MET")}'
}
