# Sourced by the Wine benchmarks: the CPU time that processes spend over a
# stretch of time, from utime + stime of /proc/<pid>/stat (fields 14 and 15,
# counted after the process name in parentheses, which may hold blanks).
#   cpu_ticks PID        the process's CPU time so far, in clock ticks
#   cpu_percent TICKS S  those ticks over S seconds as a percentage of one core
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
cpu_percent() {
  awk -v t="$1" -v s="$2" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}

# Every process of this run: the prefix's (WINEPREFIX in its environment:
# the program, the Wine server, winedevice.exe, explorer.exe, ...) and this
# run's X server.
#   cpu_snapshot FILE            one line "pid name ticks" each
#   cpu_by_name BEFORE AFTER S   per name, the share of one core spent between
#                                the two snapshots over S seconds, largest
#                                first, "name percent" a line; the last line
#                                "together percent" (a process that started
#                                in between counts from 0)
cpu_snapshot() {
  local environ pid name
  {
    for environ in $(grep -l -s -z -x "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ); do
      pid=${environ#/proc/}
      pid=${pid%/environ}
      # A process may end while it is read: it is passed over.
      name=$(tr '\0' '\n' 2>/dev/null <"/proc/$pid/cmdline" | head -n 1) || continue
      name=${name##*[/\\]}
      [ -n "$name" ] || continue
      echo "$pid $name $(cpu_ticks "$pid" 2>/dev/null || echo 0)"
    done
    [ -z "${_wine_xvfb_pid:-}" ] || echo "$_wine_xvfb_pid Xvfb $(cpu_ticks "$_wine_xvfb_pid")"
  } >"$1"
}
cpu_by_name() {
  awk -v s="$3" -v hz="$(getconf CLK_TCK)" '
    FNR == NR { before[$1] = $3; next }
    { spent[$2] += $3 - ($1 in before ? before[$1] : 0) }
    END {
      for (n in spent) { p = 100 * spent[n] / hz / s; all += p; printf "%s %.2f\n", n, p }
      printf "together %.2f\n", all > "/dev/stderr"
    }' "$1" "$2" 2>"$2.together" | sort -k2 -rn
  cat "$2.together"
}
