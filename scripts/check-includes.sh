#!/usr/bin/env bash
# Keeps every include pointing one way: start-up, then the host object, then
# the subsystems it uses, then the shared library. A folder may include its
# own files and those of lower-ranked folders only; the icon updater sees
# only the shared library, and an extension library only the host's public
# extension header and the shared library. Every quoted include must name its folder.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank=(
  [app]=6
  [webview]=5
  [bridge]=4 [installer]=4
  [assets]=3 [window]=3
  [config]=2
  [common]=1
)

# The top-level folder of a source or include path, as the include roots see it.
folder_of() {
  local path=${1#windows-webview2/}
  echo "${path%%/*}"
}

failures=0
fail() {
  echo "$1" >&2
  failures=$((failures + 1))
}

while IFS= read -r file; do
  from=$(folder_of "$file")
  while IFS= read -r line; do
    target=$(sed -E 's/^#include "([^"]+)".*/\1/' <<<"${line#*:}")
    number=${line%%:*}
    where="$file:$number: \"$target\""
    if [[ $target != */* ]]; then
      fail "$where does not name its folder"
      continue
    fi
    to=$(folder_of "$target")
    [[ $to == "$from" ]] && continue
    case $from in
      tests | tools | bench) continue ;;
      Quorvel)
        [[ $to == common ]] || fail "$where: the icon updater may include only common/"
        continue ;;
      extensions)
        [[ $target == bridge/include/* || $to == common ]] ||
          fail "$where: an extension library may include only the extension header and common/"
        continue ;;
    esac
    if [[ -z ${rank[$from]:-} || -z ${rank[$to]:-} ]]; then
      fail "$where: no rank for $from or $to"
    elif (( ${rank[$to]} >= ${rank[$from]} )); then
      fail "$where: $from may not include $to"
    fi
  done < <(grep -n '^#include "' "$file" || true)
done < <(git ls-files -co --exclude-standard -- '*.h' '*.cpp' '*.c' | grep -v '^tests/e2e/runtime_double/')

if (( failures > 0 )); then
  echo "check-includes: $failures include(s) against the one direction" >&2
  exit 1
fi
echo "check-includes: every include points one way"
