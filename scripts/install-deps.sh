#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need (only what is missing),
# and 32-bit Wine (wine32:i386) beside wine64 for the i686 product.
#   install-deps.sh           install what is missing
#   install-deps.sh --plan    print the apt-get arguments that would install
#                             wine32:i386 here, changing nothing (simulations only)
set -euo pipefail

packages=(
  cmake g++ make libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine xvfb xdotool x11-utils imagemagick fonts-liberation
  clang libclang-rt-dev
  fonts-urw-base35 python3-fonttools
)
wine32=wine32:i386
foreign_arch=i386

as_root() { if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi; }
apt_install() { as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
installed_version() {  # package: its installed version, empty when it is not installed
  apt-cache policy "$1" 2>/dev/null | sed -n 's/^  Installed: //p' | grep -v '^(none)$' || true
}

# The highest version that the configured sources offer both for the native
# package and for its i386 build (multi-arch libraries must have one version
# on both sides).
common_version() {  # package
  local table native foreign v best=""
  table=$(apt-cache madison "$1" "$1:$foreign_arch" 2>/dev/null | awk -F'|' '{gsub(/ /, ""); print $1, $2}')
  native=$(awk -v p="$1" '$1 == p { print $2 }' <<<"$table")
  foreign=$(awk -v p="$1:$foreign_arch" '$1 == p { print $2 }' <<<"$table")
  for v in $native; do
    grep -qxF "$v" <<<"$foreign" || continue
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  [ -n "$best" ] && echo "$best"
}

# The i386 packages that a failed simulation names as dependencies it will
# not or cannot install.
unmet_foreign() {  # simulation-output
  grep -E '(Pre)?Depends: ' <<<"$1" | grep -E "but (it is not going to be installed|it is not installable|.* is to be installed)" \
    | sed -nE "s/.*Depends: ([a-z0-9][a-z0-9.+-]*):$foreign_arch .*/\1/p" | sort -u || true
}

# Prints (one a line) the apt-get install arguments that install wine32:i386
# without removing anything. The i386 side of a multi-arch library must have
# the version of its installed native side; where the configured sources lack
# that version for i386 (a security update whose i386 index could not be
# read, for example), both sides are taken from the release suite, and a
# library the release suite does not line up either is pinned on both sides
# to the highest version they share. Each simulation names one more layer of
# such libraries, so this goes a few rounds.
wine32_install_args() {
  local suite out names lib v progress round
  local -a args pins=() probes=()
  if out=$(apt-get install -s "$wine32" 2>&1) && ! grep -q '^Remv ' <<<"$out"; then
    echo "$wine32"
    return 0
  fi
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -z "$suite" ]; then
    echo "install-deps: /etc/os-release names no VERSION_CODENAME" >&2
    return 1
  fi
  for round in $(seq 1 12); do
    args=(-t "$suite" --allow-downgrades "$wine32" "${pins[@]}")
    if out=$(apt-get install -s "${args[@]}" 2>&1); then
      if grep -q '^Remv ' <<<"$out"; then
        echo "install-deps: installing $wine32 would remove packages:" >&2
        grep '^Remv ' <<<"$out" >&2
        return 1
      fi
      printf '%s\n' "${args[@]}"
      return 0
    fi
    # Packages named before are simulated too, so that apt names what
    # stands in their own way.
    [ ${#probes[@]} -gt 0 ] && out=$(apt-get install -s "${args[@]}" "${probes[@]}" 2>&1 || true)
    names=$(unmet_foreign "$out")
    [ -n "${INSTALL_DEPS_TRACE:-}" ] && echo "round $round: pins ${pins[*]}; probes ${probes[*]}; named: $(echo $names)" >&2
    progress=no
    for lib in $names; do
      if [ -n "$(installed_version "$lib")" ]; then
        printf '%s\n' "${pins[@]}" | grep -q "^$lib=" && continue
        v=$(common_version "$lib") || continue
        pins+=("$lib=$v" "$lib:$foreign_arch=$v")
        progress=yes
      elif ! printf '%s\n' "${probes[@]}" "$wine32" | grep -qxF "$lib:$foreign_arch"; then
        probes+=("$lib:$foreign_arch")
        progress=yes
      fi
    done
    if [ "$progress" = no ]; then
      echo "install-deps: found no way to install $wine32 (round $round):" >&2
      sed -n '/unmet dependencies/,$p' <<<"$out" >&2
      return 1
    fi
  done
  echo "install-deps: $wine32 still not installable after $round rounds" >&2
  return 1
}

# apt-get update exits non-zero when one index could not be read (the
# mirror has served a damaged i386 index of the security suite); the others
# it read are in place, and wine32_install_args copes with the missing one.
apt_update() {
  as_root apt-get update -qq || echo "install-deps: apt-get update failed (exit $?); going on with the package lists it read" >&2
}

if [ "${1:-}" = "--plan" ]; then
  wine32_install_args
  exit
fi

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
need_wine32=no
installed "$wine32" || need_wine32=yes

if [ ${#missing[@]} -gt 0 ] || [ "$need_wine32" = yes ]; then
  if [ "$need_wine32" = yes ] && ! dpkg --print-foreign-architectures | grep -qx "$foreign_arch"; then
    as_root dpkg --add-architecture "$foreign_arch"
  fi
  apt_update
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt_install "${missing[@]}"
fi
if [ "$need_wine32" = yes ]; then
  mapfile -t wine32_args < <(wine32_install_args)
  [ ${#wine32_args[@]} -gt 0 ] || exit 1
  echo "Installing: ${wine32_args[*]}"
  apt_install "${wine32_args[@]}"
fi
