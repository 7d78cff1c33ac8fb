#!/usr/bin/env bash
# Start-up of the real host: the failures that end it and a clean run.
source "$(dirname "$0")/harness.sh"
velmora=$1
closer=$2
runtime_double=$3
load_text="Failed to load package.json. Check the file is in the same folder as the app."
parse_text="Failed to parse package.json. Check the file has valid JSON and that all parameters are correct."

export_with() {
  local folder
  folder=$(new_folder)
  cp "$velmora" "$folder/Velmora.exe"
  cp "$runtime_double" "$folder/WebView2Loader.dll"
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

# Nesting deep enough to overflow the stack if a section were ever copied.
deep=$(printf '{"name": "game", "window": %s%s}' "$(printf '[%.0s' $(seq 80000))" "$(printf ']%.0s' $(seq 80000))")
folder=$(export_with "$deep")
run_program "$folder/Velmora.exe"
expect_run "deeply nested package.json" 1 1 "$parse_text" "Windows Velmora"

folder=$(export_with '{"name": "game", "window": {"title": "My Game", "icon": "missing.png"}}')
run_program "$folder/Velmora.exe" -- "$WINE_RUN" "$closer"
expect_run "valid package.json, closed window" 0 0

bundle_folder() {
  local folder
  folder=$(export_with '{"name": "game"}')
  mkdir -p "$folder/www"
  printf "$1" >"$folder/www/assets.dat"
  echo "$folder"
}

# The one-file example bundle: header, "blob" with "abc", "fdir" with a.txt.
example='q7ab\0\0\0\0\0\0\0\020\0\0\0\0blob\0\0\0\0\0\0\0\003abcfdir\0\0\0\0\0\0\0\056'
example+='\0\0\0\001\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\003\0\0\0\0\0\0\0\0\0\0\0\0\005a.txt'
folder=$(bundle_folder "$example")
expect_eq "example bundle is 89 bytes" 89 "$(stat -c %s "$folder/www/assets.dat")"
run_program "$folder/Velmora.exe" -- "$WINE_RUN" "$closer"
expect_run "valid bundle" 0 0

for damage in 'q7ab\0\0\0\001' 'junk' ''; do
  folder=$(bundle_folder "$damage")
  run_program "$folder/Velmora.exe" -- "$WINE_RUN" "$closer"
  expect_run "damaged bundle '$damage' warns and runs on" 0 1 "Error reading asset bundle" "Windows Velmora"
done

finish
