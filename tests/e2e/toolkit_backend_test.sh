#!/usr/bin/env bash
# The native widget backend under Wine: the toolkit demo's own checks (native
# messages against the model's state) and every probe command against the
# demo window, which the other end-to-end tests rely on.
# The toolkit demo exists in the x86_64 build only.
E2E_BUILD=sim
source "$(dirname "$0")/../../tools/e2e/e2e_lib.sh" "$@"
source "$E2E_ROOT/tools/toolkit-demo/probe_checks.sh"
e2e_copy_demo
cd "$APP_DIR"

# The demo runs its checks on its own, outside the virtual desktop; a hang
# (a modal loop that never ends) is a failure too.
status=0
timeout 60 "$WINE" toolkit_demo.exe --check demo.wnd >"$E2E_WORK/checks.log" 2>&1 || status=$?
tr -d '\r' <"$E2E_WORK/checks.log"
grep -q '^FAIL' "$E2E_WORK/checks.log" && fail "a backend check failed"
[ "$status" = 0 ] || fail "the backend checks ended with status $status"
grep -q '^0 check(s) failed' "$E2E_WORK/checks.log" || fail "the backend checks did not finish"
[ "$(grep -c '^PASS' "$E2E_WORK/checks.log")" -ge 50 ] || fail "fewer backend checks ran than there are"
pass "backend checks"

probe_checks toolkit_demo.exe zentra_probe.exe || fail "a probe check failed"
pass "probe checks"
