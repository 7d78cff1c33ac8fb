#!/usr/bin/env bash
# velmora-tool pack beside tar on the same folders: 2,000 small files with
# one of 300 MB, and 50,000 tiny files. Prints wall time and peak memory.
# Run: bash bench/pack_vs_tar.sh (after scripts/build.sh)
set -euo pipefail
tool="$(cd "$(dirname "$0")/.." && pwd)/dist/velmora-tool"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_folder() {
  local folder=$1 count=$2
  mkdir -p "$folder"
  for ((i = 0; i < count; i++)); do
    [ $((i % 500)) -eq 0 ] && mkdir -p "$folder/d$((i / 500))"
    printf 'file %d\n' "$i" >"$folder/d$((i / 500))/f$i.txt"
  done
}

measure() {
  local label=$1; shift
  /usr/bin/time -f "$label: %e s, peak %M KB" "$@" >/dev/null 2>"$work/time.txt" || true
  tail -n 1 "$work/time.txt"
}

make_folder "$work/mixed" 2000
head -c $((300 << 20)) /dev/urandom >"$work/mixed/big.bin"
make_folder "$work/tiny" 50000
for folder in mixed tiny; do
  sync
  measure "pack $folder" "$tool" pack "$work/$folder" "$work/$folder.dat"
  measure "tar  $folder" tar -cf "$work/$folder.tar" -C "$work" "$folder"
done
