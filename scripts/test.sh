#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds the host and both
# Windows builds, and runs every test (host tests and the Wine end-to-end
# tests, label "wine"); then builds the host suite once more with ASan and
# UBSan (build/host-asan) and runs its tests there (not the Wine ones);
# last, a short run of every fuzz target (build/fuzz), which fails the run
# on any finding.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build-windows.sh"
"$root/scripts/build-host.sh"
cd "$root/build/host"
ctest --output-on-failure -j2 "$@"

# The host suite under AddressSanitizer and UndefinedBehaviorSanitizer, so a
# window freed under its own handler or undefined behaviour fails the run
# when it is written. UBSan stops at the first finding (its checks
# otherwise only print), LeakSanitizer reports what is never freed.
asan="$root/build/host-asan"
cmake -S "$root" -B "$asan" -DCMAKE_BUILD_TYPE=Debug -DZENTRA_SANITIZE=ON >/dev/null
cmake --build "$asan" -j"$(nproc)"
cd "$asan"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --output-on-failure -j2 -LE wine "$@"

# A short fuzz run: every libFuzzer target for 45 s (or 10^6 executions),
# under four minutes for all five; a finding fails the run (its input is
# kept in build/fuzz/findings/<target>/).
FUZZ_SECONDS=${FUZZ_SECONDS:-45} "$root/scripts/fuzz.sh"
