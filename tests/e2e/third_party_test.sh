#!/usr/bin/env bash
# Third-party web apps on the real host under Wine, with a real engine:
# each app of third_party/apps.txt, built from its small page and the
# libraries the set-up script fetched from the npm registry, is exported
# by the tool and played by the engine bridge through Velmora.exe and the
# runtime double in engine mode. Each is judged on what its library
# produced (third_party/apps/<app>/expect.txt), and on evidence that
# nothing went wrong: every answer 2xx and of the type the engine needs,
# no console or page errors. A failure prints that evidence with the
# app's name.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
tool=$3
dist=$4
BRIDGE_DIR=$5
# Kept for a look after the run: each app's report and logs.
output=$6
E2E_TIMEOUT=150
suite="$E2E_DIR/third_party"
modules="$suite/node_modules"
for needed in "$BRIDGE_DIR/node_modules/puppeteer-core" "$modules/three"; do
  [ -d "$needed" ] || { echo "missing $needed: run scripts/setup.sh" >&2; exit 1; }
done
rm -rf "$output" && mkdir -p "$output"
media="$E2E_ROOT/media"
python3 "$suite/make_media.py" "$media" || { echo "FAIL making the suite's media"; exit 1; }
programs=$(programs_folder)

# The app folder of app $1: its page, and the files its files.txt names
# (from the registry's packages, or "@media/" from the media made above).
build_app() {
  local name=$1 isolated=$2 folder
  folder=$(new_folder)
  cp -r "$suite/apps/$name/." "$folder/"
  rm -f "$folder/files.txt" "$folder"/expect*.txt
  while read -r from to; do
    local source="$modules/$from"
    [[ $from == @media/* ]] && source="$media/${from#@media/}"
    mkdir -p "$(dirname "$folder/$to")"
    cp -r "$source" "$folder/$to" || return 1
  done <"$suite/apps/$name/files.txt"
  printf '{"name": "%s", "main": "index.html", "settings": {"cross-origin-isolation": %s}}\n' \
    "$name" "$isolated" >"$folder/package.json"
  echo "$folder"
}

# Exports, runs and judges one line of apps.txt.
run_app() {
  local name=$1 packing=$2 isolated=false label="$1 ($2${3:+, $3})"
  [ "${3:-}" = isolated ] && isolated=true
  local before=$FAILURES app run
  app=$(build_app "$name" "$isolated") || { expect_eq "$label: app folder built" yes no; return; }
  run="$E2E_ROOT/run-$name-$packing-$isolated"
  local options=()
  [ "$packing" = loose ] && options+=(--loose)
  VELMORA_PROGRAMS_DIR=$programs "$tool" export "$app" "$run" "${options[@]}" >"$E2E_ROOT/export.txt" 2>&1
  expect_eq "$label: export succeeds" 0 $?
  cp "$runtime_double" "$run/WebView2Loader.dll"
  play_in_engine "$run/$name.exe" third_party.js
  local report
  report=$(tr -d '\r' <"$run/engine-report.txt" 2>/dev/null)
  expect_eq "$label: exit code" 0 "$EXIT_CODE"
  expect_eq "$label: the bridge ended cleanly" 0 "$BRIDGE_CODE"
  local expected=("result: complete" "answers not 2xx: none" "answers of the wrong type: none"
    "console errors: none" "page errors: none")
  local expect_file="$suite/apps/$name/expect.txt"
  [ "$isolated" = true ] && expect_file="$suite/apps/$name/expect-isolated.txt"
  mapfile -t -O ${#expected[@]} expected <"$expect_file"
  local line
  for line in "${expected[@]}"; do
    expect_eq "$label: ${line%%: *}" "$line" "$(grep -F -x -- "$line" <<<"$report" || grep -F -m1 -- "${line%%: *}: " <<<"$report")"
  done
  local kept="$output/$name-$packing${3:+-$3}"
  mkdir -p "$kept"
  cp "$run"/engine-*.txt "$run/bridge-output.txt" "$run/webview2-double-log.txt" "$kept/" 2>/dev/null
  if [ "$FAILURES" -gt "$before" ]; then
    echo "  $label: what the app and the engine reported ($kept):"
    sed "s/^/    [$name] /" <<<"$report"
    echo "  $label: the bridge's last lines:"
    tail -n 15 "$run/engine-log.txt" 2>/dev/null | sed "s/^/    [$name] /"
  fi
}

started=$SECONDS
# Read on its own descriptor: Wine is not to read the list.
while read -r -u 3 name packing variant; do
  [[ -z $name || $name == \#* ]] && continue
  run_app "$name" "$packing" "$variant"
done 3<"$suite/apps.txt"
echo "third-party apps: $((SECONDS - started)) s"
finish
