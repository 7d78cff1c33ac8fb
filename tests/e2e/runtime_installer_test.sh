#!/usr/bin/env bash
# The runtime installer on the installer's test build of the host: a missing
# runtime, the progress window, the download from a local slow server, the
# test bootstrapper, and the second look for the runtime.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
bootstrapper=$3
watcher=$4
port=$5
screenshots=$6
# Under Wine the offer says what to expect there.
install_text="This app requires the Microsoft Edge WebView2 runtime. It will be downloaded and installed for you now.

Under Wine or Proton the WebView2 runtime may not install, or may show no page. A game can ship a fixed-version runtime with it instead."
install_failed_text="Failed to install the Microsoft Edge WebView2 runtime. Check that you have permission to install it, and that your Internet connection is working. Run the app again to try again."
prefix=${VELMORA_WINEPREFIX:-$E2E_DIR/../../build/wineprefix}
wine_user=$(ls "$prefix/drive_c/users" | grep -vx Public | head -n 1)
local_app_data="$prefix/drive_c/users/$wine_user/AppData/Local"
run_id="velmora-installer-$$"
mkdir -p "$screenshots"

server_pid=""
start_server() {
  python3 "$E2E_DIR/slow_server.py" "$port" "$bootstrapper" 2000000 0.15 "$E2E_ROOT/server.log" &
  server_pid=$!
  for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && return
    sleep 0.1
  done
}
stop_server() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  server_pid=""
}
trap 'stop_server; ${E2E_KEEP:+:} rm -rf "$E2E_ROOT" "$local_app_data/$run_id"-*' EXIT

# An export of the test build named $1 (its user-data folder), with the
# double waiting for the bootstrapper's marker.
installer_export() {
  local folder
  folder=$(export_with "{\"name\": \"$1\", \"window\": {\"title\": \"My Game\"}, \"messages\": {\"downloading\": \"Fetching the runtime…\"}}" "#runtime-after-install
domcontentloaded
window
close")
  echo "$folder"
}

field_of() {
  sed -n "s/^$1=//p" "$2" | tr -d '\r'
}

# No server: nothing is started, not even a file left from an earlier run.
name="$run_id-offline"
mkdir -p "$local_app_data/$name"
cp "$bootstrapper" "$local_app_data/$name/Webview2Setup.exe"
folder=$(installer_export "$name")
VELMORA_TEST_INSTALL_MARKER="Z:$folder/runtime-installed.txt" run_program "$folder/Velmora.exe"
expect_run "no server" 1 2 "$install_text" "My Game"
expect_eq "no server: then the failure" "$install_failed_text" "$(box_text 1)"
expect_eq "no server: nothing was run" no "$([ -e "$folder/runtime-installed.txt" ] && echo yes || echo no)"
expect_eq "no server: the stale installer is gone" no "$([ -e "$local_app_data/$name/Webview2Setup.exe" ] && echo yes || echo no)"
expect_eq "no server: the user-data folder exists" yes "$([ -d "$local_app_data/$name" ] && echo yes)"

# A user-data folder whose parent is missing.
folder=$(installer_export "$run_id-missing\\\\game")
run_program "$folder/Velmora.exe"
expect_run "missing parent folder" 1 3 "$install_text" "My Game"
expect_eq "missing parent: the folder box" "Failed to create user data directory" "$(box_text 1)"
expect_eq "missing parent: its caption" "My Game" "${BOX_CAPTIONS[1]:-}"
expect_eq "missing parent: then the failure" "$install_failed_text" "$(box_text 2)"

start_server

# A runtime present: no box, no window, no download.
folder=$(export_with "{\"name\": \"$run_id-present\"}" "close")
run_program "$folder/Velmora.exe"
expect_run "runtime present" 0 0
expect_eq "runtime present: no download" "" "$(cat "$E2E_ROOT/server.log" 2>/dev/null)"

# Fixed distribution never downloads, even without its runtime.
folder=$(export_with "{\"name\": \"$run_id-fixed\", \"window\": {\"title\": \"My Game\"}, \"settings\": {\"distribution-mode\": \"fixed\"}}" "close")
run_program "$folder/Velmora.exe"
expect_eq "fixed without its runtime: one box, exit 1" "1 1" "$EXIT_CODE ${#BOX_RAW[@]}"
expect_eq "fixed without its runtime: no download" "" "$(cat "$E2E_ROOT/server.log" 2>/dev/null)"

# The whole way: box, progress window, download, bootstrapper, the app.
name="$run_id-online"
folder=$(installer_export "$name")
VELMORA_TEST_INSTALL_MARKER="Z:$folder/runtime-installed.txt" \
  run_program "$folder/Velmora.exe" -- "$WINE_RUN" "$watcher" "Z:$folder/watch.txt" "Z:$screenshots/progress.bmp" watch
expect_run "install" 0 1 "$install_text" "My Game"
expect_eq "install: the bootstrapper was fetched" "/Webview2Setup.exe" "$(tail -n 1 "$E2E_ROOT/server.log")"
expect_eq "install: the progress window was seen" 1 "$(field_of seen "$folder/watch.txt")"
expect_eq "install: captioned with the downloading message" "Fetching the runtime…" "$(field_of caption "$folder/watch.txt")"
positions=$(field_of positions "$folder/watch.txt")
expect_eq "install: the bar moved (positions:$positions)" yes "$([ "$(wc -w <<<"$positions")" -ge 3 ] && echo yes)"
expect_eq "install: the bar reached 100" 100 "${positions##* }"
expect_eq "install: a screenshot of the window was kept" yes "$([ -s "$screenshots/progress.bmp" ] && echo yes)"
expect_eq "install: the bootstrapper ran in the user-data folder" "C:\\users\\$wine_user\\AppData\\Local\\$name" \
  "$(field_of cwd "$folder/runtime-installed.txt")"
expect_eq "install: with no switches" "[]" "$(field_of commandline "$folder/runtime-installed.txt")"
expect_eq "install: its own quoted path is the command line's first word" \
  "\"C:\\users\\$wine_user\\AppData\\Local\\$name\\Webview2Setup.exe\"" "$(field_of whole "$folder/runtime-installed.txt")"
expect_eq "install: the app's window was shown in the same run" 1 \
  "$(logged "$folder" "window visible=1" | wc -l)"

# A bootstrapper that never ends (as under Proton) is waited for only so
# long under Wine (the test build's 3 s for the shipped program's ten
# minutes), then the player is told, and the second look for the runtime
# fails as it should.
name="$run_id-stuck"
folder=$(installer_export "$name")
started=$SECONDS
VELMORA_TEST_BOOTSTRAPPER_HANG=1 VELMORA_TEST_INSTALL_MARKER="Z:$folder/runtime-installed.txt" \
  run_program "$folder/Velmora.exe"
expect_run "a stuck bootstrapper" 1 3 "$install_text" "My Game"
expect_eq "a stuck bootstrapper: the player is told" "The WebView2 runtime's installer has not finished after ten minutes, and is no longer waited for. Under Wine or Proton it may never finish." "$(box_text 1)"
expect_eq "a stuck bootstrapper: then the failure" "$install_failed_text" "$(box_text 2)"
expect_eq "a stuck bootstrapper: released within the bound" yes "$([ $((SECONDS - started)) -lt 40 ] && echo yes)"
"$WINE_RUN" wineserver -k >/dev/null 2>&1

# Closing the progress window during the download cancels nothing.
name="$run_id-closed"
folder=$(installer_export "$name")
VELMORA_TEST_INSTALL_MARKER="Z:$folder/runtime-installed.txt" \
  run_program "$folder/Velmora.exe" -- "$WINE_RUN" "$watcher" "Z:$folder/watch.txt" "Z:$folder/unused.bmp" close
expect_run "closed during the download" 0 1 "$install_text" "My Game"
closed=$(field_of closed "$folder/watch.txt")
expect_eq "closed: half-way (at $closed)" yes "$([ "${closed:--1}" -gt 0 ] && [ "$closed" -lt 100 ] && echo yes)"
expect_eq "closed: the bootstrapper still ran" yes "$([ -e "$folder/runtime-installed.txt" ] && echo yes)"

finish
