#!/usr/bin/env bash
# The export's Windows installer under Wine: a silent per-user install, its
# files, Start-menu shortcut and uninstall entry, the installed program
# started (with the runtime double), and uninstalls that remove what was
# installed and keep the player's saves unless asked.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
tool=$3
dist=$4
prefix=${VELMORA_WINEPREFIX:-$E2E_DIR/../../build/wineprefix}
wine_user=$(ls "$prefix/drive_c/users" | grep -vx Public | head -n 1)
name="Velmora Setup Test $$"
local_app_data="$prefix/drive_c/users/$wine_user/AppData/Local"
installed="$local_app_data/Programs/$name"
start_menu="$prefix/drive_c/users/$wine_user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
uninstall_key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$name"
trap '${E2E_KEEP:+:} rm -rf "$E2E_ROOT" "$installed" "$local_app_data/$name" "$start_menu/Star Setup.lnk" "$start_menu/_.lnk"' EXIT

# The programs the export takes, with the double as the WebView2 loader so
# that the installed program can start under Wine.
programs=$(new_folder)
cp "$velmora" "$programs/Velmora.exe"
cp "$dist/Quorvel.exe" "$programs/"
cp "$runtime_double" "$programs/WebView2Loader.dll"
app=$(new_folder)
printf '{"name": "%s", "version": "2.0.1", "company": "Us", "window": {"title": "Star Setup"}}' "$name" >"$app/package.json"
printf '<title>Star Setup</title>' >"$app/index.html"
mkdir -p "$app/levels" && printf '{"level":1}' >"$app/levels/one.json"
out=$(new_folder)
VELMORA_PROGRAMS_DIR=$programs "$tool" export "$app" "$out/game" --loose --installer >/dev/null
expect_eq "the export writes the installer" yes "$([ -f "$out/$name-setup.exe" ] && echo yes)"

installed_files() {
  (cd "$installed" 2>/dev/null && find . -type f | sort | sed 's|^\./||')
}
uninstall_value() {
  "$WINE_RUN" reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"
}
uninstall() {
  "$WINE_RUN" "$(winepath_of "$installed/Uninstall.exe")" /S "$@"
  # The uninstaller runs on from a copy of itself in the temporary folder.
  for _ in $(seq 100); do [ -d "$installed" ] || break; sleep 0.2; done
  "$WINE_RUN" wineserver -w
}
winepath_of() {
  echo "C:\\users\\$wine_user\\AppData\\Local\\Programs\\$name\\$(basename "$1")"
}

"$WINE_RUN" "Z:$out/$name-setup.exe" /S
"$WINE_RUN" wineserver -w
expect_eq "installed: the export's files and the uninstaller" "$( (cd "$out/game" && find . -type f | sed 's|^\./||'; echo Uninstall.exe) | sort)" \
  "$(installed_files)"
expect_eq "installed: the files as exported" same "$(cmp -s "$out/game/www/levels/one.json" "$installed/www/levels/one.json" && echo same)"
expect_eq "installed: the Start-menu shortcut" yes "$([ -f "$start_menu/Star Setup.lnk" ] && echo yes)"
expect_eq "installed: no desktop shortcut unless chosen" no \
  "$([ -f "$prefix/drive_c/users/$wine_user/Desktop/Star Setup.lnk" ] && echo yes || echo no)"
expect_eq "installed: the uninstall entry's name" "Star Setup" "$(uninstall_value DisplayName)"
expect_eq "installed: its version and publisher" "2.0.1 Us" "$(uninstall_value DisplayVersion) $(uninstall_value Publisher)"
expect_eq "installed: its quiet uninstall" "\"C:\\users\\$wine_user\\AppData\\Local\\Programs\\$name\\Uninstall.exe\" /S" \
  "$(uninstall_value QuietUninstallString)"

# The installed program runs; what the run leaves beside it is not the
# installer's and is taken away before the uninstall.
printf 'domcontentloaded\nclose\n' >"$installed/webview2-double-script.txt"
run_program "$installed/$name.exe"
expect_run "the installed program" 0 0
expect_eq "the installed program: its window was shown" 1 "$(logged "$installed" "controller visible 1" | wc -l)"
expect_clean_runtime "the installed program" "$installed"
rm -f "$installed/webview2-double-script.txt" "$installed/webview2-double-log.txt" "$installed/wine-stderr.txt"

mkdir -p "$local_app_data/$name" && printf '{"best":7}' >"$local_app_data/$name/save.json"
uninstall
expect_eq "uninstalled: every installed file" no "$([ -e "$installed" ] && echo yes || echo no)"
expect_eq "uninstalled: the shortcut" no "$([ -e "$start_menu/Star Setup.lnk" ] && echo yes || echo no)"
expect_eq "uninstalled: the uninstall entry" "" "$(uninstall_value DisplayName)"
expect_eq "uninstalled: the player's saves kept" '{"best":7}' "$(cat "$local_app_data/$name/save.json" 2>/dev/null)"

"$WINE_RUN" "Z:$out/$name-setup.exe" /S
"$WINE_RUN" wineserver -w
# Other programs' shortcuts and folders are never the uninstaller's.
desktop="$prefix/drive_c/users/$wine_user/Desktop"
mkdir -p "$desktop" "$local_app_data/Programs/Other Game"
printf 'shortcut' >"$start_menu/Other Game.lnk"
printf 'shortcut' >"$desktop/Other Game.lnk"
printf 'kept' >"$local_app_data/Programs/Other Game/game.exe"
expect_eq "installed: the host marked its data folder" yes "$([ -f "$local_app_data/$name/velmora-user-data.txt" ] && echo yes)"
uninstall /REMOVEDATA
expect_eq "uninstalled when asked: the saves too" no "$([ -e "$local_app_data/$name" ] && echo yes || echo no)"
expect_eq "uninstalled when asked: every installed file" no "$([ -e "$installed" ] && echo yes || echo no)"
expect_eq "uninstalled when asked: other programs kept" "shortcut shortcut kept" \
  "$(cat "$start_menu/Other Game.lnk") $(cat "$desktop/Other Game.lnk") $(cat "$local_app_data/Programs/Other Game/game.exe")"

# A title of wildcards and a data folder the host never marked: the
# uninstaller deletes its own shortcut only, and leaves a folder that is not
# the app's, even with /REMOVEDATA.
printf '{"name": "%s", "window": {"title": "*"}}' "$name" >"$app/package.json"
VELMORA_PROGRAMS_DIR=$programs "$tool" export "$app" "$out/wild" --installer --replace >/dev/null
"$WINE_RUN" "Z:$out/$name-setup.exe" /S
"$WINE_RUN" wineserver -w
expect_eq "a title of wildcards: its shortcut" yes "$([ -f "$start_menu/_.lnk" ] && echo yes)"
mkdir -p "$local_app_data/$name" && printf 'theirs' >"$local_app_data/$name/data.bin"
uninstall /REMOVEDATA
expect_eq "a title of wildcards: only its own shortcut removed" "no shortcut shortcut" \
  "$([ -e "$start_menu/_.lnk" ] && echo yes || echo no) $(cat "$start_menu/Other Game.lnk") $(cat "$desktop/Other Game.lnk")"
expect_eq "an unmarked data folder survives /REMOVEDATA" theirs "$(cat "$local_app_data/$name/data.bin" 2>/dev/null)"
rm -rf "$start_menu/Other Game.lnk" "$desktop/Other Game.lnk" "$local_app_data/Programs/Other Game"

finish
