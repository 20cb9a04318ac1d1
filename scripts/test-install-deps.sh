#!/usr/bin/env bash
# Tests install-deps.sh against stand-ins for apt-get, apt-cache, dpkg and
# dpkg-query: for each machine state, the package-manager calls it makes, in
# order (an extra, missing or reordered call fails).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
mkdir -p "$work/bin"

# State: FAKE_INSTALLED ("all" or words), FAKE_FOREIGN (foreign architectures),
# FAKE_PLAIN (ok: wine32 installs without the release suite), FAKE_PINNED
# (ok|removes: the outcome once libfoo is pinned).
cat >"$work/bin/dpkg-query" <<'S'
#!/bin/bash
pkg=${@: -1}
[ "$FAKE_INSTALLED" = all ] || [[ " $FAKE_INSTALLED " == *" $pkg "* ]] || exit 1
echo "install ok installed"
S
cat >"$work/bin/dpkg" <<'S'
#!/bin/bash
case "$1" in
  --print-foreign-architectures) [ -n "$FAKE_FOREIGN" ] && echo "$FAKE_FOREIGN"; exit 0 ;;
  --add-architecture) echo "dpkg $*" >>"$FAKE_LOG"; exit 0 ;;
  *) exec /usr/bin/dpkg "$@" ;;
esac
S
cat >"$work/bin/apt-cache" <<'S'
#!/bin/bash
case "$1 $2" in
  "policy libfoo") echo "  Installed: 2.0" ;;
  policy*) echo "  Installed: (none)" ;;
  "madison libfoo")
    printf '%s\n' "    libfoo | 2.0 | sec amd64 Packages" "    libfoo | 1.5 | rel amd64 Packages" \
      "    libfoo | 1.0 | old amd64 Packages" "libfoo:i386 | 1.5 | rel i386 Packages" \
      "libfoo:i386 | 1.0 | old i386 Packages" ;;
esac
S
cat >"$work/bin/apt-get" <<'S'
#!/bin/bash
echo "apt-get $*" >>"$FAKE_LOG"
[ "$1" = update ] && exit 100           # one index damaged
[ "$2" = -s ] || exit 0
unmet() { echo "The following packages have unmet dependencies:"
          echo " libwine:i386 : Depends: libfoo:i386 (>= 1.0) but it is not going to be installed"
          echo "                Depends: libbar:i386 but it is not installable"; exit 100; }
if [[ " $* " != *" -t "* ]]; then [ "$FAKE_PLAIN" = ok ] && exit 0; unmet; fi
[[ " $* " == *" libfoo=1.5 libfoo:i386=1.5 "* ]] || unmet
[ "$FAKE_PINNED" = removes ] && echo "Remv wine64 [8.0]"
echo "Inst wine32:i386 (8.0)"
S
chmod +x "$work/bin/"*

status=0
check() {  # name expected-exit expected-calls...
  local name="$1" want_rc="$2"; shift 2
  : >"$work/log"
  FAKE_LOG="$work/log" PATH="$work/bin:$PATH" bash "$here/install-deps.sh" >"$work/out" 2>&1
  local rc=$?
  : >"$work/want"; [ $# -gt 0 ] && printf '%s\n' "$@" >"$work/want"
  if [ "$rc" -ne "$want_rc" ] || ! diff -u "$work/want" "$work/log" >"$work/diff"; then
    echo "FAIL: $name (exit $rc, wanted $want_rc)"; cat "$work/diff" "$work/out"; status=1
  fi
}
pins="wine32:i386 libfoo=1.5 libfoo:i386=1.5"
release="-t $suite --allow-downgrades"
all=$(sed -n '/^packages=(/,/^)/p' "$here/install-deps.sh" | sed '1d;$d' | tr -s ' \n' ' ' | sed 's/^ //;s/ $//')

FAKE_INSTALLED=all FAKE_FOREIGN=i386 FAKE_PLAIN=ok FAKE_PINNED=ok \
  check "all installed: no call" 0

FAKE_INSTALLED="" FAKE_FOREIGN="" FAKE_PLAIN=no FAKE_PINNED=ok \
  check "fresh machine, damaged index, a library pinned on both sides" 0 \
  "dpkg --add-architecture i386" \
  "apt-get update -qq" \
  "apt-get install -y -qq $all" \
  "apt-get install -s wine32:i386" \
  "apt-get install -s $release wine32:i386" \
  "apt-get install -s $release $pins" \
  "apt-get install -y -qq $release $pins"

export FAKE_INSTALLED="$all" FAKE_FOREIGN=i386
FAKE_PLAIN=ok FAKE_PINNED=ok check "index repaired: wine32 alone, as it comes" 0 \
  "apt-get update -qq" \
  "apt-get install -s wine32:i386" \
  "apt-get install -y -qq wine32:i386"

FAKE_PLAIN=no FAKE_PINNED=removes check "a plan that removes a package is refused" 1 \
  "apt-get update -qq" \
  "apt-get install -s wine32:i386" \
  "apt-get install -s $release wine32:i386" \
  "apt-get install -s $release $pins"

[ $status -eq 0 ] && echo "PASS: install-deps.sh installs only what is missing, and wine32 with matching library versions"
exit $status
