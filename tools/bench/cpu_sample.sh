# Sourced by the Wine benchmarks: the CPU time that processes spend over a
# stretch of time, from utime + stime of /proc/<pid>/stat (fields 14 and 15,
# counted after the process name in parentheses, which may hold blanks).
#   cpu_ticks PID        the process's CPU time so far, in clock ticks
#   cpu_percent TICKS S  those ticks over S seconds as a percentage of one core
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
cpu_percent() {
  awk -v t="$1" -v s="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}
