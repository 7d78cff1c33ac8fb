#!/usr/bin/env bash
# The real icon updater on real executables: which files it chooses, what
# it writes into them, what it leaves alone, and the box it shows.
source "$(dirname "$0")/harness.sh"
quorvel=$1
plain_app=$2
helper=$3
failure_text="Failed to find or update any executable file icons. Check the folder structure is correct. (Try running this tool immediately after extracting an export, since Corvane exports with the expected folder structure.) Also check that you have write access to the executable files."
success_head='Successfully updated icons for the following executable files:\n\n'

resources() {
  "$WINE_RUN" "$helper" dump "$1" 2>/dev/null | tr -d '\r'
}

hex() {
  printf '%s' "$1" | od -An -tx1 | tr -d ' \n'
}

# n little-endian bytes of a number, as hex.
le() {
  local value=$1 bytes=$2 out="" i
  for ((i = 0; i < bytes; i++)); do out+=$(printf '%02x' $(((value >> (8 * i)) & 255))); done
  printf '%s' "$out"
}

# The group a list of "size:length" icons must produce, ids 1..n.
group_hex() {
  local out="0000" id=0 icon size length side
  out+=$(le 1 2)$(le $# 2)
  for icon in "$@"; do
    id=$((id + 1)); size=${icon%%:*}; length=${icon##*:}
    side=$((size == 256 ? 0 : size))
    out+=$(le "$side" 1)$(le "$side" 1)0000$(le 0 2)$(le 0 2)$(le "$length" 4)$(le "$id" 2)
  done
  printf '%s' "$out"
}

# An export folder (or sub-folder) holding an app, its list and images.
make_app_folder() {
  local folder=$1
  mkdir -p "$folder/icons"
  cp "$plain_app" "$folder/Game.exe"
  "$WINE_RUN" "$helper" seed "$folder/Game.exe" >/dev/null 2>&1
  printf 'image sixteen' >"$folder/icons/16.png"
  printf 'image forty-eight' >"$folder/icons/48.png"
  printf 'image two hundred fifty-six' >"$folder/icons/256.png"
  cat >"$folder/package.json" <<'JSON'
{"name": "game", "q7-app-icons": [
  {"src": "icons/16.png", "width": 16, "height": 16},
  {"src": "icons/48.png", "width": 48, "height": 48},
  {"src": "icons/256.png", "width": 256, "height": 256}]}
JSON
}

new_export() {
  local folder
  folder=$(new_folder)
  cp "$quorvel" "$folder/Quorvel.exe"
  echo "$folder"
}

# Only the tool: nothing qualifies.
folder=$(new_export)
run_program "$folder/Quorvel.exe"
expect_run "tool alone" 0 1 "$failure_text" "Quorvel"

# An app beside the helper and the tool, and x86 and x64 sub-folders.
folder=$(new_export)
make_app_folder "$folder"
cp "$plain_app" "$folder/notification_helper.exe"
make_app_folder "$folder/x64"
make_app_folder "$folder/x86"
mv "$folder/x86/package.json" "$folder/x86/icons.json"
cp "$folder/Quorvel.exe" "$folder/notification_helper.exe" "$E2E_ROOT/"
run_program "$folder/Quorvel.exe"
expect_eq "export: exit code" 0 "$EXIT_CODE"
expect_eq "export: caption" "Quorvel" "${BOX_CAPTIONS[0]:-}"
expect_eq "export: text" "${success_head}Game.exe\\nx86\\\\Game.exe\\nx64\\\\Game.exe\\n" "${BOX_RAW[0]:-}"
after_once=$(resources "$folder/Game.exe")
expected_group="14 MAINICON 0 $(group_hex 16:13 256:27)"
expect_eq "export: new group" 1 "$(grep -cxF "$expected_group" <<<"$after_once")"
expect_eq "export: image 1" 1 "$(grep -cxF "3 #1 0 $(hex 'image sixteen')" <<<"$after_once")"
expect_eq "export: image 2" 1 "$(grep -cxF "3 #2 0 $(hex 'image two hundred fifty-six')" <<<"$after_once")"
expect_eq "export: no image 3 written" 0 "$(grep -c '^3 #3 0 ' <<<"$after_once")"
expect_eq "export: English image 4 kept" 1 "$(grep -cxF "3 #4 1033 $(hex 'old image 4')" <<<"$after_once")"
for sub in x86 x64; do
  expect_eq "export: $sub group" 1 "$(resources "$folder/$sub/Game.exe" | grep -cxF "$expected_group")"
done
expect_eq "export: helper untouched" same "$(cmp -s "$folder/notification_helper.exe" "$E2E_ROOT/notification_helper.exe" && echo same)"
expect_eq "export: tool untouched" same "$(cmp -s "$folder/Quorvel.exe" "$E2E_ROOT/Quorvel.exe" && echo same)"

run_program "$folder/Quorvel.exe"
expect_eq "second run: same resources" "$after_once" "$(resources "$folder/Game.exe")"

# A list whose second image is missing: the app stays byte for byte.
folder=$(new_export)
make_app_folder "$folder"
rm "$folder/icons/256.png"
cp "$folder/Game.exe" "$E2E_ROOT/before.exe"
run_program "$folder/Quorvel.exe"
expect_run "missing image" 0 1 "$failure_text" "Quorvel"
expect_eq "missing image: app untouched" same "$(cmp -s "$folder/Game.exe" "$E2E_ROOT/before.exe" && echo same)"

# Data after the last section (a signature, a payload) would be lost.
folder=$(new_export)
make_app_folder "$folder"
printf 'appended payload' >>"$folder/Game.exe"
cp "$folder/Game.exe" "$E2E_ROOT/before.exe"
run_program "$folder/Quorvel.exe"
expect_run "overlay" 0 1 "$failure_text" "Quorvel"
expect_eq "overlay: app untouched" same "$(cmp -s "$folder/Game.exe" "$E2E_ROOT/before.exe" && echo same)"

finish
