# Sourced by the benchmark scripts.
# "CPU WALL" seconds of a command, the run with the least CPU of five.
measure() {
  local best_cpu="" best_wall=""
  for _ in 1 2 3 4 5; do
    local t
    t=$( { TIMEFORMAT='%U %S %R'; time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2, $3 }')
    read -r cpu wall <<<"$t"
    if [ -z "$best_cpu" ] || awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then
      best_cpu=$cpu best_wall=$wall
    fi
  done
  echo "$best_cpu $best_wall"
}
