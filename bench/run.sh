#!/usr/bin/env bash
# The whole benchmark in one run: bundle parsing, lookups and answers beside
# memcpy, then velmora-tool pack beside tar, then the installer beside the
# zip. Arguments go to the first part
# (for example --benchmark_filter=Lookup).
# Run: bash bench/run.sh (after scripts/build.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/build/native/bench/velmora_bench" "$@"
bash "$root/bench/pack_vs_tar.sh"
bash "$root/bench/installer_vs_zip.sh"
