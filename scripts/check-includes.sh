#!/usr/bin/env bash
# Fails when a source file below src/ includes a header of a subsystem that
# its own subsystem may not use, naming file and line.
#   check-includes.sh <rules file> <src folder>
# The rules file (written by the build) holds lines "folder: allowed folders";
# a folder may always use its own headers. A file belongs to the longest
# folder that contains it, and so does an included header. An include is
# found as the compiler finds it: beside the including file first, then
# from src/; relative parts ("../mixer/x.h", "./x.h") are resolved before
# the check, and a relative include that leads out of src/ fails.
set -euo pipefail
rules=$1
src=$2

declare -A allowed
folders=()
while IFS=: read -r folder uses; do
  [ -n "$folder" ] || continue
  folders+=("$folder")
  allowed[$folder]=" $folder $uses "
done <"$rules"
# Longest first, so toolkit/win32 is found before toolkit.
mapfile -t folders < <(printf '%s\n' "${folders[@]}" | awk '{ print length, $0 }' | sort -rn | cut -d' ' -f2-)

owner_of() {
  local f
  for f in "${folders[@]}"; do
    case "$1" in "$f"/*) echo "$f"; return ;; esac
  done
}

# REPLY := the path without "." and "dir/.." parts; a leading ".." stays.
normalize() {
  local IFS=/ part out=()
  for part in $1; do
    case "$part" in
      ""|.) ;;
      ..) if [ ${#out[@]} -gt 0 ] && [ "${out[-1]}" != ".." ]; then unset 'out[-1]'; else out+=(..); fi ;;
      *) out+=("$part") ;;
    esac
  done
  REPLY="${out[*]}"
}

failures=0
count=0
cd "$src"
while IFS= read -r -d '' file; do
  file=${file#./}
  count=$((count + 1))
  own=$(owner_of "$file")
  if [ -z "$own" ]; then
    echo "src/$file: in no subsystem's folder"
    failures=$((failures + 1))
    continue
  fi
  dir=$(dirname "$file")
  while IFS=: read -r line header; do
    if [ -e "$dir/$header" ]; then
      normalize "$dir/$header"  # beside the file (or relative to it)
    else
      normalize "$header"       # from src/
    fi
    path=$REPLY
    case "$path" in
      ..|../*)
        echo "src/$file:$line: \"$header\" leads out of src/"
        failures=$((failures + 1))
        continue ;;
    esac
    theirs=$(owner_of "$path")
    [ -n "$theirs" ] || continue  # outside the subsystems
    case "${allowed[$own]}" in
      *" $theirs "*) ;;
      *) [ "$path" = "$header" ] && where="$theirs" || where="$theirs: $path"
         echo "src/$file:$line: $own may not include \"$header\" ($where)"
         failures=$((failures + 1)) ;;
    esac
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
           sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)

echo "include directions: $count files checked, $failures against the direction"
[ "$failures" -eq 0 ]
