#!/usr/bin/env bash
# The sample game's export on the real host under Wine, with a real engine:
# the runtime double in engine mode hands every request, event and message
# to headless Chromium through the engine bridge, and the bridge's scenario
# plays the game. Run twice: as exported, and opted in to cross-origin
# isolation.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
tandrel=$3
tool=$4
dist=$5
sample=$6
BRIDGE_DIR=$7
# Kept for a look after the run: the screenshot and the bridge's logs.
output=$8
E2E_TIMEOUT=180
[ -d "$BRIDGE_DIR/node_modules/puppeteer-core" ] || { echo "missing the engine bridge's packages: run scripts/setup.sh" >&2; exit 1; }

export_folder="$E2E_ROOT/star-catcher"
export_sample_game "$export_folder"
expect_eq "export succeeds" 0 $?
rm -rf "$output" && mkdir -p "$output"

# A copy of the export in a new folder, with the double as its loader.
new_run() {
  local run
  run=$(new_folder)
  cp -r "$export_folder/." "$run/"
  cp "$runtime_double" "$run/WebView2Loader.dll"
  echo "$run"
}

# Runs the game in folder $1 with the bridge playing the scenario with the
# arguments after it; BRIDGE_CODE is the bridge's exit code.
play() {
  local run=$1
  play_in_engine "$run/Star Catcher.exe" sample_game.js "${@:2}"
  local kept
  kept="$output/$(basename "$run")"
  mkdir -p "$kept"
  cp "$run"/engine-*.txt "$run"/bridge-output.txt "$run/webview2-double-log.txt" "$kept/" 2>/dev/null
  [ -f "$run/screenshot.png" ] && cp "$run/screenshot.png" "$output/"
}

# What the scenario found, by name.
found() {
  sed -n "s/^$2: //p" "$1/engine-report.txt" | tr -d '\r'
}

# On a failure, the bridge's log of requests and messages.
show_bridge_log() {
  if [ "$FAILURES" -gt "$1" ]; then
    echo "  the engine bridge's log ($2/engine-log.txt):"; sed 's/^/    /' "$2/engine-log.txt"
    echo "  the bridge's own output:"; sed 's/^/    /' "$2/bridge-output.txt"
  fi
}

run=$(new_run)
before=$FAILURES
play "$run"
expect_eq "the game: exit code" 0 "$EXIT_CODE"
expect_eq "the game: the scenario ran to its end" 0 "$BRIDGE_CODE"
expect_eq "wrapper-init: the sample extension's ids" "sample.echo sample.folders" "$(found "$run" "component ids")"
expect_eq "wrapper-init: thirteen handles posted" 13 "$(found "$run" "handles posted")"
# Wine has no Screenshots folder, so one of the thirteen slots is empty.
expect_eq "wrapper-init: the page holds the handles" "Folder handles: 12 of 13" "$(found "$run" "handles shown")"
expect_eq "wrapper-init: the page shows the platform and the launch arguments" "Platform: wine · Arguments: none" \
  "$(found "$run" "platform shown")"
expect_eq "not cross-origin isolated unless the app opts in" false "$(found "$run" "cross-origin isolated")"
expect_eq "save through a folder handle" 1 "$(found "$run" "saved" | grep -c '^Saved best 7 to .*/star-catcher-save.json\.$')"
expect_eq "the save file's bytes" '{"best":7}' "$(found "$run" "save file")"
expect_eq "load it back" "Loaded best 7." "$(found "$run" "loaded")"
expect_eq "the clip is long enough to seek" true "$(found "$run" "video duration over 20 s")"
expect_eq "the clip seeks where asked" 20.0 "$(found "$run" "video seeked to")"
expect_eq "the clip plays on from there" true "$(found "$run" "video plays on from there")"
expect_eq "the music plays" true "$(found "$run" "music plays")"
expect_eq "the music seeks where asked" 1.5 "$(found "$run" "music seeked to")"
expect_eq "the service worker's own request reaches the host" 1 \
  "$(found "$run" "service worker" | grep -c '^Service worker fetched sw-check.txt: 200 ')"
expect_eq "the extension echoes and resolves a placeholder" \
  "Extension echoed: ping <time> · <saved-games> is C:\\users\\$(id -un)\\Saved Games" "$(found "$run" "extension")"
expect_eq "a value that is not a string is not a message" "extension-message after" \
  "$(found "$run" "the answer after a posted object")"
expect_eq "the page's own range header, in lower case, reaches the host and the log" "206 bytes=0-3" \
  "$(found "$run" "ranged fetch")"
expect_eq "a module script named .mjs runs" "Module loaded: best of 3, 9, 4 is 9" "$(found "$run" "module")"
expect_eq "a missing file: the host's 404" 404 "$(found "$run" "missing file")"
expect_eq "window.open: handled by the host" true "$(found "$run" "new window")"
expect_eq "a navigation out of the origin: cancelled" true "$(found "$run" "navigation out of the origin cancelled")"
expect_eq "a navigation out of the origin: the page stays" https://velmora.localhost/index.html "$(found "$run" "the page stays")"
expect_eq "window.open: the host heard the address" "newwindow-result https://example.com/opened handled=1" \
  "$(logged "$run" "newwindow-result")"
expect_eq "the engine drew the game" "more than eight" "$(found "$run" "canvas colours")"
monitor=$(found "$run" "full screen: monitor")
expect_eq "requestFullscreen: the window covers the monitor" "$monitor" "$(found "$run" "full screen: frame")"
expect_eq "requestFullscreen: the page's element" true "$(found "$run" "full screen: element")"
expect_eq "exitFullscreen: the game's size again" "960 640" "$(found "$run" "restored: client")"
expect_eq "exitFullscreen: smaller than the monitor" true "$(found "$run" "restored: below the monitor")"
expect_eq "every request answered by the host with 200 or 206" none "$(found "$run" "unexpected answers")"
expect_eq "the only other answer is the provoked one" 404 "$(found "$run" "provoked answers")"
expect_eq "bodies as long as their Content-Length" 0 "$(found "$run" "bodies unlike their Content-Length")"
expect_eq "every answer read from a body stream" 0 "$(found "$run" "answers without a body stream")"
expect_eq "the media stack asks for pieces" "three or more" "$(found "$run" "partial media answers")"
expect_eq "service worker requests seen as such" true "$(found "$run" "service worker requests")"
expect_eq "no step failed" "" "$(grep ': failed: ' "$run/engine-report.txt")"
expect_eq "the window's title is the page's" "title=Star Catcher" \
  "$(logged "$run" "window " | head -n 1 | grep -o 'title=[^=]* frame' | sed 's/ frame$//')"
expect_eq "the close box: the game is asked" "close-requested" "$(found "$run" "close request: asked")"
expect_eq "the close box: the game saves first" 1 \
  "$(found "$run" "close request: saved" | grep -c '^Saved best 11 to .*/star-catcher-save.json\.$')"
expect_eq "the close box: then the host ends" true "$(found "$run" "close request: the host ended")"
expect_eq "the close box: the save file" '{"best":11}' "$(found "$run" "close request: the save file")"
show_bridge_log "$before" "$run"

isolated=$(new_run)
python3 - "$isolated/package.json" <<'PY'
import json, sys
package = json.load(open(sys.argv[1]))
package.setdefault("settings", {})["cross-origin-isolation"] = True
json.dump(package, open(sys.argv[1], "w"))
PY
before=$FAILURES
play "$isolated" isolation
expect_eq "opted in: exit code" 0 "$EXIT_CODE"
expect_eq "opted in: the scenario ran to its end" 0 "$BRIDGE_CODE"
expect_eq "opted in: cross-origin isolated" true "$(found "$isolated" "cross-origin isolated")"
expect_eq "window.close() ends the host" "engine close" "$(logged "$isolated" "engine close")"
show_bridge_log "$before" "$isolated"

finish
