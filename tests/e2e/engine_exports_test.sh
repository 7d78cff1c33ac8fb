#!/usr/bin/env bash
# Real engines' exports on the real host under Wine, with a real engine:
# each game of the shared engines folder (made by people outside this
# project, read where it lies and never copied into the repository) is
# exported by the tool and played by the engine bridge through Velmora.exe
# and the runtime double in engine mode, then judged as a player would (see
# engine_exports/engines.js and the scenario engine_export.js). A failure
# prints the game's evidence: the requests not answered 2xx, types, console
# and page errors. VELMORA_ENGINES_ONLY=<label> runs that game alone.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
tool=$3
dist=$4
BRIDGE_DIR=$5
# Kept for a look after the run: each game's report, logs and screenshot.
output=$6
engines=${VELMORA_ENGINES_DIR:-$7}
E2E_TIMEOUT=150
if [ ! -d "$engines" ]; then
  echo "FAIL the real engine exports are missing: no folder $engines (the shared engines folder beside the" \
    "project; VELMORA_ENGINES_DIR names another)"
  exit 1
fi
[ -d "$BRIDGE_DIR/node_modules/puppeteer-core" ] || { echo "missing $BRIDGE_DIR/node_modules: run scripts/setup.sh" >&2; exit 1; }
rm -rf "$output" && mkdir -p "$output"
programs=$(programs_folder)

# Exports and plays game $1 with packing $2 ("bundle" or "loose").
run_game() {
  local label=$1 packing=$2 before=$FAILURES started=$SECONDS
  local game="$engines/$label" app run files
  [ -d "$game" ] || { expect_eq "$label: in $engines" present missing; return; }
  # A copy to write the settings into: the app's own name and start page
  # (RPG Maker's is its editor's, with an empty name).
  app=$(new_folder)
  cp -r "$game/." "$app/" && chmod -R u+w "$app"
  printf '{"name": "%s", "main": "index.html"}\n' "$label" >"$app/package.json"
  files="$E2E_ROOT/$label-files.txt"
  (cd "$game" && find . -type f | sed 's|^\./||') >"$files"
  run="$E2E_ROOT/$label-$packing"
  local options=()
  [ "$packing" = loose ] && options+=(--loose)
  VELMORA_PROGRAMS_DIR=$programs "$tool" export "$app" "$run" "${options[@]}" >"$E2E_ROOT/export.txt" 2>&1
  expect_eq "$label ($packing): export succeeds" 0 $?
  cp "$runtime_double" "$run/WebView2Loader.dll"
  play_in_engine "$run/$label.exe" engine_export.js "$label" "$files"
  expect_eq "$label ($packing): exit code" 0 "$EXIT_CODE"
  expect_eq "$label ($packing): the bridge ended cleanly" 0 "$BRIDGE_CODE"
  local report line
  report=$(tr -d '\r' <"$run/engine-report.txt" 2>/dev/null)
  for line in "result: complete" "held files not answered 2xx: none" "answers of the wrong type: none" "page errors: none"; do
    expect_eq "$label ($packing): ${line%%: *}" "$line" "$(grep -F -m1 -- "${line%%: *}: " <<<"$report")"
  done
  local kept="$output/$label-$packing"
  mkdir -p "$kept"
  cp "$run"/engine-*.txt "$run"/bridge-output.txt "$run"/webview2-double-log.txt "$run"/screenshot.png "$kept/" 2>/dev/null
  echo "$label ($packing): $((SECONDS - started)) s, $(grep -m1 '^first scene after: ' <<<"$report" || echo 'no first scene')"
  if [ "$FAILURES" -gt "$before" ]; then
    echo "  $label ($packing): what the game and the engine reported ($kept):"
    sed "s/^/    [$label] /" <<<"$report"
    echo "  $label ($packing): the export said:"
    sed "s/^/    [$label] /" "$E2E_ROOT/export.txt"
    echo "  $label ($packing): the bridge's last lines:"
    tail -n 15 "$run/engine-log.txt" 2>/dev/null | sed "s/^/    [$label] /"
  fi
}

started=$SECONDS
while read -r -u 3 label packing; do
  [ -n "${VELMORA_ENGINES_ONLY:-}" ] && [ "$label" != "$VELMORA_ENGINES_ONLY" ] && continue
  run_game "$label" "$packing"
done 3< <(node "$E2E_DIR/engine_exports/engines.js")
echo "engine exports: $((SECONDS - started)) s"
finish
