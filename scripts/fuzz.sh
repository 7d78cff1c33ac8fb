#!/usr/bin/env bash
# Fuzzes every target (or the ones named) for [minutes] each, under the
# address and undefined-behaviour sanitizers, then merges what was found
# into the minimised corpus kept in tests/fuzz/corpus/. FUZZ_RUNS stops a
# target earlier, after that many runs. Prints runs and coverage per target.
#   scripts/fuzz.sh [minutes] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
shift || true
cmake --preset native >/dev/null
cmake --build --preset native >/dev/null
list=build/native/tests/fuzz/targets.txt
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
printf '%-24s %12s %8s %8s  %s\n' target runs cov ft result
while read -r name max_len; do
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  program=build/native/tests/fuzz/$name
  kept=tests/fuzz/corpus/$name
  mkdir -p "$kept" "$work/$name/found" "$work/$name/merged"
  result=clean
  UBSAN_OPTIONS=halt_on_error=1 "$program" -max_total_time=$((minutes * 60)) ${FUZZ_RUNS:+-runs=$FUZZ_RUNS} \
    -max_len="$max_len" -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/$name/" \
    "$work/$name/found" "tests/fuzz/seeds/$name" "$kept" >"$work/$name/log" 2>&1 || result=FAILED
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name/log" | tail -n 1)
  cov=$(grep -o 'cov: [0-9]*' "$work/$name/log" | tail -n 1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$work/$name/log" | tail -n 1 | cut -d' ' -f2)
  if [ "$result" = clean ]; then
    # The kept corpus is replaced only by a merge that finished.
    if "$program" -merge=1 -max_len="$max_len" "$work/$name/merged" "$kept" "$work/$name/found" >"$work/$name/merge.log" 2>&1; then
      rm -f "$kept"/*
      cp "$work/$name/merged"/* "$kept"/ 2>/dev/null || true
    else
      result="clean, merge failed"
    fi
  else
    failed=1
    mkdir -p build/fuzz-failures
    cp "$work/$name/log" "build/fuzz-failures/$name.log"
    cp "$work/$name"/crash-* "$work/$name"/leak-* "$work/$name"/timeout-* "$work/$name"/oom-* build/fuzz-failures/ 2>/dev/null || true
  fi
  printf '%-24s %12s %8s %8s  %s\n' "$name" "${runs:-?}" "${cov:-?}" "${ft:-?}" "$result"
done <"$list"
[ "$failed" -eq 0 ] || echo "failing inputs and logs are in build/fuzz-failures/"
exit "$failed"
