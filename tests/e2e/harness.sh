# Shared end-to-end helpers, sourced by the *_test.sh scripts.
# A test prepares a folder, calls run_program, and checks EXIT_CODE,
# BOX_TEXTS[] and BOX_CAPTIONS[] with expect_eq. Needs a display (Xvfb).
set -u

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
WINE_RUN="$E2E_DIR/../windows/wine-run.sh"
E2E_TIMEOUT=${E2E_TIMEOUT:-90}
FAILURES=0
CHECKS=0

E2E_ROOT=$(mktemp -d "${TMPDIR:-/tmp}/velmora-e2e-XXXXXX")
# E2E_KEEP=1 keeps the export folders for a look after the run.
trap "${E2E_KEEP:+:} rm -rf \"\$E2E_ROOT\"" EXIT

new_folder() {
  mktemp -d "$E2E_ROOT/export-XXXXXX"
}

# The texts of Wine's message-box traces, one per line, with the escapes
# of its debug strings undone.
box_texts_in() {
  grep -a 'MSGBOX_OnInit' "$1" | sed -e 's/^.*MSGBOX_OnInit L"//' -e 's/"$//' \
    -e 's/\\"/"/g' -e 's/\\n/\n/g' -e 's/\\\\/\\/g'
}

# The same texts as Wine prints them: escapes kept, one box per line.
box_raw_texts_in() {
  grep -a 'MSGBOX_OnInit' "$1" | sed -e 's/^.*MSGBOX_OnInit L"//' -e 's/"$//'
}

# The whole text of box $1 (from 0) of the last run, line breaks included.
box_text() {
  printf '%s' "${BOX_RAW[$1]:-}" | sed -e 's/\\"/"/g' -e 's/\\n/\n/g' -e 's/\\\\/\\/g'
}

# Runs a Windows program, answers every message box it shows (BOX_KEY),
# and records what was shown (BOX_TEXTS by line, BOX_RAW by box, BOX_CAPTIONS).
# Extra commands after "--" run in parallel
# (for example a helper that closes the main window). RUN_DIR, when set, is
# the current directory of the run instead of the program's folder;
# LAUNCHER, a Wine command that starts it (such as "start /wait /min /unix");
# the array PROGRAM_ARGS, the program's arguments.
run_program() {
  local exe=$1; shift
  local helper=()
  if [ "${1:-}" = "--" ]; then shift; helper=("$@"); fi
  local log
  log=$(mktemp)
  BOX_TEXTS=(); BOX_RAW=(); BOX_CAPTIONS=(); EXIT_CODE=""
  (cd "${RUN_DIR:-$(dirname "$exe")}" && WINEDEBUG=+msgbox exec "$WINE_RUN" ${LAUNCHER:-} "$exe" ${PROGRAM_ARGS[@]+"${PROGRAM_ARGS[@]}"}) 2>"$log" &
  local pid=$! answered=0 started=$SECONDS
  [ ${#helper[@]} -gt 0 ] && "${helper[@]}" >/dev/null 2>&1 &
  # BOX_KEY: the key that answers each box (Return, its default button),
  # or "none" to leave boxes to close by themselves.
  local key=${BOX_KEY:-Return}
  while kill -0 "$pid" 2>/dev/null; do
    if [ $((SECONDS - started)) -gt "$E2E_TIMEOUT" ]; then
      echo "timeout: $exe still running after ${E2E_TIMEOUT}s" >&2
      kill "$pid"; "$WINE_RUN" wineserver -k >/dev/null 2>&1
      break
    fi
    local shown
    shown=$(grep -ac 'MSGBOX_OnInit' "$log")
    if [ "$shown" -gt "$answered" ] && [ "$key" != none ]; then
      local box
      box=$(xdotool search --sync --onlyvisible --name '.' 2>/dev/null | tail -n 1)
      if [ -n "$box" ]; then
        BOX_CAPTIONS+=("$(xdotool getwindowname "$box")")
        xdotool key --window "$box" "$key" 2>/dev/null
        answered=$((answered + 1))
      fi
    fi
    sleep 0.2
  done
  wait "$pid"; EXIT_CODE=$?
  mapfile -t BOX_TEXTS < <(box_texts_in "$log")
  mapfile -t BOX_RAW < <(box_raw_texts_in "$log")
  # Kept beside the program, for a failure to show what Wine said.
  mv "$log" "$(dirname "$exe")/wine-stderr.txt" 2>/dev/null || rm -f "$log"
}

# An export folder with package.json ($1) and the runtime double's script
# ($2); the caller sets velmora and runtime_double to the two files.
export_with() {
  local folder
  folder=$(new_folder)
  cp "$velmora" "$folder/Velmora.exe"
  cp "$runtime_double" "$folder/WebView2Loader.dll"
  printf '%s' "$1" >"$folder/package.json"
  printf '%s\n' "$2" >"$folder/webview2-double-script.txt"
  echo "$folder"
}

# A folder of the programs an export takes, for VELMORA_PROGRAMS_DIR: the
# host $velmora under test, and Quorvel and the loader from $dist.
programs_folder() {
  local programs
  programs=$(new_folder)
  cp "$velmora" "$programs/Velmora.exe"
  cp "$dist/Quorvel.exe" "$dist/WebView2Loader.dll" "$programs/"
  echo "$programs"
}

# The sample game exported into folder $1 by the tool, with the sample
# extension; the caller sets sample, tool, velmora, tandrel and dist. The
# game's folder, with its assets made, is left in $app.
export_sample_game() {
  # The game remembers where its window was: every run starts as exported.
  rm -f "${VELMORA_WINEPREFIX:-$E2E_DIR/../../build/wineprefix}/drive_c/users/$(id -un)/AppData/Local/Star Catcher/window-placement.json"
  app=$(new_folder)
  cp -r "$sample/." "$app/"
  python3 "$app/tools/make_assets.py" "$app"
  cp "$tandrel" "$app/Tandrel.dll"
  VELMORA_PROGRAMS_DIR=$(programs_folder) "$tool" export "$app" "$1" >"$E2E_ROOT/export.txt"
}

# The log lines of the runtime double in folder $1 that start with $2.
logged() {
  grep -a "^$2" "$1/webview2-double-log.txt" | tr -d '\r'
}

expect_eq() {
  local what=$1 expected=$2 actual=$3
  CHECKS=$((CHECKS + 1))
  if [ "$expected" != "$actual" ]; then
    FAILURES=$((FAILURES + 1))
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$what" "$expected" "$actual"
  fi
}

# One message box with this text and caption, then this exit code.
expect_run() {
  local name=$1 code=$2 boxes=$3
  expect_eq "$name: exit code" "$code" "$EXIT_CODE"
  expect_eq "$name: number of boxes" "$boxes" "${#BOX_RAW[@]}"
  if [ "$boxes" -gt 0 ]; then
    expect_eq "$name: box text" "$4" "$(box_text 0)"
    expect_eq "$name: box caption" "$5" "${BOX_CAPTIONS[0]:-}"
  fi
}

# The runtime double's report at unload in folder $2: no call off the UI
# thread, no message loop inside a callback, nothing left referenced, the
# controller closed while its window still existed.
expect_clean_runtime() {
  local before=$FAILURES
  expect_eq "$1: runtime report" "off-thread calls 0
nested message loops 0
leaked runtime objects 0
closing faults 0" "$(logged "$2" "off-thread calls\|nested message loops\|leaked runtime objects\|closing faults" | tail -n 4)"
  if [ "$FAILURES" -gt "$before" ]; then
    echo "  the double's last lines:"; tail -n 5 "$2/webview2-double-log.txt" | sed 's/^/    /'
    echo "  Wine's last lines:"; grep -av 'MSGBOX_OnInit' "$2/wine-stderr.txt" 2>/dev/null | tail -n 10 | sed 's/^/    /'
  fi
}

# Runs the program $1 of an export folder with the runtime double in
# engine mode: the engine bridge (in $BRIDGE_DIR) plays the scenario $2 with
# the arguments after it. BRIDGE_CODE is the bridge's exit code.
play_in_engine() {
  local exe=$1 run scenario=$2
  run=$(dirname "$exe")
  node "$BRIDGE_DIR/bridge.js" "$run" "$BRIDGE_DIR/scenarios/$scenario" "${@:3}" >"$run/bridge-output.txt" 2>&1 &
  local bridge=$!
  for _ in $(seq 100); do [ -s "$run/engine-port.txt" ] || ! kill -0 $bridge 2>/dev/null && break; sleep 0.2; done
  if [ ! -s "$run/engine-port.txt" ]; then
    echo "FAIL the engine bridge did not start:"; sed 's/^/  /' "$run/bridge-output.txt"
    FAILURES=$((FAILURES + 1)); wait $bridge; BRIDGE_CODE=1
    return
  fi
  echo "#engine $(cat "$run/engine-port.txt")" >"$run/webview2-double-script.txt"
  run_program "$exe"
  wait $bridge; BRIDGE_CODE=$?
}

finish() {
  # Every run of the runtime double in this suite ends with a clean report.
  local log
  for log in "$E2E_ROOT"/*/webview2-double-log.txt; do
    [ -f "$log" ] || continue
    expect_clean_runtime "run in $(basename "$(dirname "$log")")" "$(dirname "$log")"
  done
  echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
  [ "$FAILURES" -eq 0 ]
}
