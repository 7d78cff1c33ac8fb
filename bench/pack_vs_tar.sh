#!/usr/bin/env bash
# velmora-tool pack beside tar on the same folders: 2,000 small files with
# one of 300 MB, and 50,000 tiny files. Prints the median wall time of five
# runs and the peak memory.
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

# One run's wall time and peak memory, "seconds kilobytes".
run_once() {
  /usr/bin/time -f "%e %M" "$@" >/dev/null 2>"$work/time.txt" || true
  tail -n 1 "$work/time.txt"
}

# Five rounds of pack and tar taken in turn, so that both see the same
# cache; the median wall time and the largest peak of each.
compare() {
  local folder=$1 round
  for round in 1 2 3 4 5; do
    run_once "$tool" pack "$work/$folder" "$work/$folder.dat" >>"$work/pack-$folder.txt"
    run_once tar -cf "$work/$folder.tar" -C "$work" "$folder" >>"$work/tar-$folder.txt"
  done
  for what in pack tar; do
    echo "$what $folder: $(cut -d' ' -f1 "$work/$what-$folder.txt" | sort -n | sed -n 3p) s," \
      "peak $(cut -d' ' -f2 "$work/$what-$folder.txt" | sort -n | tail -n 1) KB"
  done
}

make_folder "$work/mixed" 2000
head -c $((300 << 20)) /dev/urandom >"$work/mixed/big.bin"
make_folder "$work/tiny" 50000
sync
compare mixed
compare tiny
