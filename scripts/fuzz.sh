#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan, in build/fuzz) and runs
# each for 10^6 executions or FUZZ_SECONDS seconds (default 600), whichever
# comes first, starting from the sample inputs kept in tools/fuzz/corpus. Prints
# executions, seconds, executions per second, coverage features and findings per target; exits 1 when any target found
# something (the inputs are kept in build/fuzz/findings/<target>/).
#   bash scripts/fuzz.sh                      # every target
#   FUZZ_SECONDS=300 bash scripts/fuzz.sh     # each at most 5 minutes
#   bash scripts/fuzz.sh fuzz_ini fuzz_scenario
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${FUZZ_SECONDS:-600}
runs=${FUZZ_RUNS:-1000000}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_device_names fuzz_ini fuzz_window_description
                                     fuzz_scenario fuzz_chaos_card fuzz_snapshot_file)

CXX=${FUZZ_CXX:-clang++} cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DZENTRA_FUZZ=ON \
  >/dev/null
cmake --build "$build" -j"${FUZZ_JOBS:-2}" --target "${targets[@]}" >/dev/null

status=0
summary=()
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  corpus="$build/corpus/$name"
  findings="$build/findings/$target"
  mkdir -p "$corpus" "$findings"
  cp -n "$root/tools/fuzz/corpus/$name/"* "$corpus/" 2>/dev/null || true
  log="$build/$target.log"
  # The chaos card touches some 50,000 coverage features an input; libFuzzer's
  # entropic schedule updates a frequency for each of them after every run,
  # which cost as much as the program itself, so it runs with the plain one.
  flags=()
  [ "$target" != fuzz_chaos_card ] || flags=(-entropic=0)
  echo "== $target: up to $runs executions or $seconds s"
  set +e
  "$build/tools/fuzz/$target" "$corpus" "${flags[@]}" -runs="$runs" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$findings/" -close_fd_mask=1 >"$log" 2>&1
  rc=$?
  set -e
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  time=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' || true)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || true)
  found=$(find "$findings" -type f | wc -l)
  [ "$rc" -eq 0 ] && [ "$found" -eq 0 ] || status=1
  summary+=("$(printf '%-26s %10s executions %6s s %6s exec/s %6s features  %s finding(s)  exit %s' \
    "$target" "${execs:-?}" "${time:-?}" "${rate:-?}" "${features:-?}" "$found" "$rc")")
  [ "$found" -eq 0 ] || grep -m3 -E 'ERROR|runtime error|chaos card' "$log" || true
done
echo
printf '%s\n' "${summary[@]}"
exit $status
