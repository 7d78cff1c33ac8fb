#!/usr/bin/env bash
# The Steam kit on the real host under Wine. The test game (steam_game/) is
# exported with "steam" set and a stand-in steam_api64.dll, and played in
# the engine: each promise of the kit's page module must come back with
# what the stand-in answered, through the host, the kit and its timer; the
# stand-in's log shows each call Steam received and one shutdown at the end.
# Then, with the runtime double's script instead of a page: no Steam
# library, Steam not starting, and a library without a function the kit
# needs, each answered with the reason.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
tool=$3
dist=$4
steam_double=$5
old_steam_double=$6
BRIDGE_DIR=$7
# Kept for a look after the run: the report and the logs.
output=$8
E2E_TIMEOUT=120
[ -d "$BRIDGE_DIR/node_modules/puppeteer-core" ] || { echo "missing the engine bridge's packages: run scripts/setup.sh" >&2; exit 1; }
rm -rf "$output" && mkdir -p "$output"

programs=$(programs_folder)
cp "$dist/SteamKit.dll" "$dist/steam.mjs" "$programs/"
app=$(new_folder)
cp -r "$E2E_DIR/steam_game/." "$app/"
cp "$steam_double" "$app/steam_api64.dll"
exported="$E2E_ROOT/steam-check"
VELMORA_PROGRAMS_DIR=$programs "$tool" export "$app" "$exported" >"$E2E_ROOT/export.txt" 2>&1
expect_eq "export succeeds" 0 $?

run=$(new_folder)
cp -r "$exported/." "$run/"
cp "$runtime_double" "$run/WebView2Loader.dll"
play_in_engine "$run/Steam Check.exe" third_party.js
cp "$run"/engine-*.txt "$run"/bridge-output.txt "$run"/steam-double-log.txt "$output/" 2>/dev/null
found() {
  sed -n "s/^$1: //p" "$run/engine-report.txt" | tr -d '\r'
}
before=$FAILURES
expect_eq "the game: exit code" 0 "$EXIT_CODE"
expect_eq "the game: the page's findings" complete "$(found result)"
expect_eq "user name" '"Double Player é"' "$(found "user name")"
expect_eq "steam id, as text" '"76561197960287930"' "$(found "steam id")"
expect_eq "language" '"french"' "$(found language)"
expect_eq "set an achievement" "{}" "$(found "set achievement")"
expect_eq "read it back" true "$(found achievement)"
expect_eq "an achievement Steam does not know" \
  "error: steam refused to set the achievement ACH_NONE (is it defined, and have the stats arrived?)" \
  "$(found "undefined achievement")"
expect_eq "progress" "{}" "$(found progress)"
expect_eq "a whole-number stat" 3 "$(found stat)"
expect_eq "a decimal stat" 2.5 "$(found "decimal stat")"
expect_eq "store the stats" "{}" "$(found "store stats")"
expect_eq "upload a score (found, then uploaded, on the timer)" '{"changed":true,"rankNew":2,"rankPrevious":5,"score":700}' \
  "$(found upload)"
expect_eq "a leaderboard Steam does not have" "error: no leaderboard named Gone" "$(found "missing leaderboard")"
expect_eq "download scores with names" \
  '[{"name":"Rival","rank":1,"score":900,"steamId":"76561197960287931"},{"name":"[unknown]","rank":2,"score":700,"steamId":"76561197960287930"}]' \
  "$(found scores)"
expect_eq "a cloud file's text" '"{\"best\":7}"' "$(found cloud)"
expect_eq "a cloud file's bytes" '"/wAB"' "$(found "cloud bytes")"
expect_eq "the cloud files" '[{"name":"save.json","size":10},{"name":"raw.bin","size":3}]' "$(found files)"
expect_eq "after a delete" '[{"name":"save.json","size":10}]' "$(found delete)"
expect_eq "quota" '{"available":999000,"total":1000000}' "$(found quota)"
expect_eq "overlay: web page" "{}" "$(found "web page")"
expect_eq "overlay: store page" "{}" "$(found "store page")"
steam_log=$(tr -d '\r' <"$run/steam-double-log.txt")
expect_eq "Steam started first, each interface asked for once" "SteamAPI_InitFlat
SteamAPI_SteamUser_v023
SteamAPI_SteamFriends_v017
SteamAPI_SteamUtils_v010
SteamAPI_SteamUserStats_v012
SteamAPI_SteamRemoteStorage_v016
SteamAPI_SteamApps_v008
RequestCurrentStats userStats" "$(head -n 8 <<<"$steam_log")"
expect_eq "the calls with their arguments" "SetAchievement ACH_WIN
SetAchievement ACH_NONE
IndicateAchievementProgress ACH_TRAVEL 3 10
SetStatInt32 WINS 3
SetStatFloat DISTANCE 2.5
FindLeaderboard Best
FindLeaderboard Gone
UploadLeaderboardScore 77 1 700 no details 0
DownloadLeaderboardEntries 77 0 1 2
GetDownloadedLeaderboardEntry 900 0 0
GetDownloadedLeaderboardEntry 900 1 0
FileWrite save.json 10
FileWrite raw.bin 3
FileDelete raw.bin
ActivateGameOverlayToWebPage https://example.com/ 1
ActivateGameOverlayToStore 480 1" \
  "$(grep -E '^(Set|Indicate|Find|Upload|Download|GetDownloaded|FileWrite|FileDelete|Activate)' <<<"$steam_log")"
expect_eq "results asked for with Steam's callback numbers and sizes" "1104 size 16
1104 size 16
1106 size 32
1105 size 24" "$(sed -n 's/^GetAPICallResult [0-9]* //p' <<<"$steam_log")"
expect_eq "Steam's callbacks ran on the timer; shut down once, at the end" "SteamAPI_RunCallbacks ran twice or more
SteamAPI_Shutdown
unloaded" "$(tail -n 3 <<<"$steam_log")"
expect_eq "one shutdown" 1 "$(grep -c '^SteamAPI_Shutdown$' <<<"$steam_log")"
if [ "$FAILURES" -gt "$before" ]; then
  echo "  the bridge's output:"; sed 's/^/    /' "$run/bridge-output.txt"
fi

# The same export without a page: the runtime double posts one request,
# then the host closes.
without_page() {
  local folder
  folder=$(new_folder)
  cp -r "$exported/." "$folder/"
  cp "$runtime_double" "$folder/WebView2Loader.dll"
  printf '%s\n' 'message {"type":"wrapper-init"}' \
    'message {"type":"extension-message","componentId":"steam","requestId":5,"method":"getUserName"}' \
    'pause 0.5' close >"$folder/webview2-double-script.txt"
  echo "$folder"
}
# The posted messages of a run in folder $1, when it could not reach Steam
# for the reason $2.
expect_refused() {
  expect_eq "$3: the page learns of the component" 1 "$(logged "$1" "posted" | grep -c '"registeredComponentIds":\["steam"\]')"
  expect_eq "$3: and why it cannot work" \
    "posted json {\"componentId\":\"steam\",\"error\":\"$2\",\"ok\":false,\"requestId\":5,\"type\":\"steam-response\"}" \
    "$(logged "$1" "posted json")"
}

folder=$(without_page)
rm "$folder/steam_api64.dll"
run_program "$folder/Steam Check.exe"
expect_run "no steam library" 0 0
expect_refused "$folder" "steam_api64.dll is missing beside the game (copy Valve's redistributable there)" "no steam library"

folder=$(without_page)
: >"$folder/steam-double-init-fails.txt"
run_program "$folder/Steam Check.exe"
expect_run "steam not running" 0 0
expect_refused "$folder" "steam did not start (SteamAPI_InitFlat gave 2: Steam is not running (the double says so))" \
  "steam not running"
expect_eq "steam not running: no shutdown after a failed start" "SteamAPI_InitFlat failed" \
  "$(tr -d '\r' <"$folder/steam-double-log.txt")"

folder=$(without_page)
cp "$old_steam_double" "$folder/steam_api64.dll"
run_program "$folder/Steam Check.exe"
expect_run "another SDK's library" 0 0
expect_refused "$folder" \
  "steam_api64.dll lacks SteamAPI_SteamApps_v008 (the kit calls the flat API of Steamworks SDK 1.60)" \
  "another SDK's library"
expect_eq "another SDK's library: Steam never started" no "$([ -s "$folder/steam-double-log.txt" ] && echo yes || echo no)"

finish
