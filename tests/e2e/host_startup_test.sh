#!/usr/bin/env bash
# Start-up of the real host: the failures that end it and a clean run.
source "$(dirname "$0")/harness.sh"
velmora=$1
closer=$2
load_text="Failed to load package.json. Check the file is in the same folder as the app."
parse_text="Failed to parse package.json. Check the file has valid JSON and that all parameters are correct."

export_with() {
  local folder
  folder=$(new_folder)
  cp "$velmora" "$folder/Velmora.exe"
  [ "$1" = "-" ] || printf '%s' "$1" >"$folder/package.json"
  echo "$folder"
}

folder=$(export_with -)
run_program "$folder/Velmora.exe"
expect_run "missing package.json" 1 1 "$load_text" "Windows Velmora"

folder=$(export_with "")
run_program "$folder/Velmora.exe"
expect_run "empty package.json" 1 1 "$load_text" "Windows Velmora"

folder=$(export_with '{"name": "game", "window": {"title": "My Game"}')
run_program "$folder/Velmora.exe"
expect_run "truncated package.json" 1 1 "$parse_text" "Windows Velmora"

folder=$(export_with '{"name": ""}')
run_program "$folder/Velmora.exe"
expect_run "empty name" 1 1 "$parse_text" "Windows Velmora"

folder=$(export_with '{"name": "game", "settings": {"content-mode": "Bundle"}}')
run_program "$folder/Velmora.exe"
expect_run "bad content mode" 1 1 "$parse_text" "Windows Velmora"

folder=$(export_with '{"name": "game", "window": {"title": "My Game", "icon": "missing.png"}}')
run_program "$folder/Velmora.exe" -- "$WINE_RUN" "$closer"
expect_run "valid package.json, closed window" 0 0

finish
