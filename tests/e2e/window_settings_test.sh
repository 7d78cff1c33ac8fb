#!/usr/bin/env bash
# The window behaviours an app may ask for in package.json, on the real
# host under Wine with the runtime double: the background colour before
# the first frame, full screen from the start, a minimum size, per-monitor
# DPI awareness, autoplay among the browser arguments, close requests (the
# round trip, its cancel, its timeout, the end of the session), the
# remembered placement (restored, and ignored when damaged or off every
# screen) and one running copy.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
prefix=${VELMORA_WINEPREFIX:-$E2E_DIR/../../build/wineprefix}

# The numbers after "$1=" in a log line ($2).
numbers() {
  sed -n "s/.* $1=\([-0-9 ]*[0-9]\).*/\1/p" <<<"$2" | head -n 1
}
line_of() {
  grep -an "^$2" "$1/webview2-double-log.txt" | head -n 1 | cut -d: -f1
}
milliseconds() {
  date +%s%3N
}

# Background colour, autoplay, full screen at start, minimum size, DPI.
folder=$(export_with '{"name": "settings", "chromium-args": "--mute-audio",
  "window": {"background-color": "#10203a", "fullscreen": true, "width": 800, "height": 600,
             "min-width": 640, "min-height": 360, "dpi-awareness": "per-monitor"},
  "settings": {"autoplay": true}}' 'domcontentloaded
window
minmax
dpi
message {"type":"set-fullscreen","fullscreen":false}
window
message {"type":"set-window-size","windowWidth":100,"windowHeight":100}
window
close')
run_program "$folder/Velmora.exe"
expect_run "settings" 0 0
expect_eq "the runtime's first frames take the colour" "background color variable=FF10203A" \
  "$(logged "$folder" "background color variable")"
expect_eq "the controller's colour" "default background color ff10203a" "$(logged "$folder" "default background color")"
colour_line=$(line_of "$folder" "default background color")
navigate_line=$(line_of "$folder" "navigate ")
expect_eq "the colour is set before the first navigation" yes "$([ -n "$colour_line" ] && [ "$colour_line" -lt "${navigate_line:-0}" ] && echo yes)"
expect_eq "autoplay joins the app's arguments" 1 \
  "$(logged "$folder" "create environment" | grep -c ' arguments=--mute-audio --autoplay-policy=no-user-gesture-required target=')"
first_shown=$(logged "$folder" "first shown")
full=$(logged "$folder" "window " | sed -n 1p)
expect_eq "first shown without a frame (no WS_CAPTION)" 0 $((0x$(sed 's/.*style=\([0-9a-f]*\).*/\1/' <<<"$first_shown") & 0x00C00000))
expect_eq "first shown covering the monitor" "$(numbers monitor "$full")" "$(numbers frame "$first_shown")"
expect_eq "full screen from the start" "$(numbers monitor "$full")" "$(numbers frame "$full")"
expect_eq "per-monitor awareness (DPI_AWARENESS_PER_MONITOR_AWARE)" "dpi awareness=2" "$(logged "$folder" "dpi awareness")"
windowed=$(logged "$folder" "window " | sed -n 2p)
expect_eq "leaving full screen: the configured size" "800 600" "$(numbers client "$windowed")"
read -r left top right bottom <<<"$(numbers frame "$windowed")"
read -r mleft mtop mright mbottom <<<"$(numbers monitor "$windowed")"
expect_eq "leaving full screen: centred" "$(((mright - mleft - (right - left)) / 2)) $(((mbottom - mtop - (bottom - top)) / 2))" "$left $top"
border_x=$((right - left - 800))
border_y=$((bottom - top - 600))
expect_eq "WM_GETMINMAXINFO: the minimum client size framed" "minmax min=$((640 + border_x)) $((360 + border_y))" \
  "$(logged "$folder" "minmax")"
expect_eq "set-window-size below the minimum is raised to it" "640 360" "$(numbers client "$(logged "$folder" "window " | sed -n 3p)")"

# Close requests: a page that opted in is asked, cancels, is asked again
# and closes.
package='{"name": "closer", "settings": {"close-request": true, "close-request-timeout": 2}}'
folder=$(export_with "$package" 'domcontentloaded
message {"type":"enable-close-request"}
close-box
message {"type":"cancel-close"}
window
close-box
message {"type":"close"}')
started=$(milliseconds)
run_program "$folder/Velmora.exe"
elapsed=$(($(milliseconds) - started))
expect_run "close request" 0 0
expect_eq "the page is asked each time" 2 "$(logged "$folder" 'posted json {"type":"close-requested"}' | wc -l)"
expect_eq "the window waits for the answer" "close-box: window stays
close-box: window stays" "$(logged "$folder" "close-box")"
expect_eq "cancelled: the window stays shown" 1 "$(logged "$folder" "window visible=1" | wc -l)"
expect_eq "the page's close ends the run before the timeout" yes "$([ "$elapsed" -lt 9000 ] && echo yes)"
expect_clean_runtime "close request" "$folder"

# A page that does not answer: the window closes after the timeout.
folder=$(export_with "$package" 'domcontentloaded
message {"type":"enable-close-request"}
close-box')
started=$(milliseconds)
run_program "$folder/Velmora.exe"
elapsed=$(($(milliseconds) - started))
expect_run "unanswered close request" 0 0
expect_eq "unanswered: asked" 1 "$(logged "$folder" 'posted json {"type":"close-requested"}' | wc -l)"
expect_eq "unanswered: closed after the two seconds" yes "$([ "$elapsed" -ge 2000 ] && echo yes)"

# A page that never opted in is closed at once.
folder=$(export_with "$package" 'domcontentloaded
close-box')
run_program "$folder/Velmora.exe"
expect_run "not opted in" 0 0
expect_eq "not opted in: closed at once" "close-box: window destroyed" "$(logged "$folder" "close-box")"
expect_eq "not opted in: never asked" 0 "$(logged "$folder" 'posted json {"type":"close-requested"}' | wc -l)"

# The end of the session: the page gets its answer time before it ends.
folder=$(export_with "$package" 'domcontentloaded
message {"type":"enable-close-request"}
session-end
message {"type":"close"}')
run_program "$folder/Velmora.exe"
expect_run "session end" 0 0
expect_eq "session end: asked" 1 "$(logged "$folder" 'posted json {"type":"close-requested"}' | wc -l)"
ended=$(logged "$folder" "session end")
expect_eq "session end: may end, once the page answered" "session end: may end=1" "${ended%%,*}"
expect_eq "session end: the answer came before the timeout" yes \
  "$([ "$(sed 's/.*after \([0-9]*\) ms/\1/' <<<"$ended")" -lt 2000 ] && echo yes)"

# At the end of the session the page has 3 s at most, whatever the app's
# timeout: Windows shows its "apps are preventing shutdown" screen after 5 s.
# A runtime that is gone stops the wait, with no box.
folder=$(export_with '{"name": "closer", "settings": {"close-request": true, "close-request-timeout": 30}}' 'domcontentloaded
message {"type":"enable-close-request"}
session-end')
run_program "$folder/Velmora.exe"
expect_run "session end, no answer" 0 0
ended=$(logged "$folder" "session end")
expect_eq "session end, no answer: released within the bound" yes \
  "$(waited=$(sed 's/.*after \([0-9]*\) ms/\1/' <<<"$ended"); [ "$waited" -ge 2500 ] && [ "$waited" -le 4500 ] && echo yes || echo "$ended")"
folder=$(export_with '{"name": "closer", "settings": {"close-request": true, "close-request-timeout": 30}}' 'domcontentloaded
message {"type":"enable-close-request"}
session-end
process-failed 0')
run_program "$folder/Velmora.exe"
expect_run "session end, the runtime gone" 0 0
ended=$(logged "$folder" "session end")
expect_eq "session end, the runtime gone: released at once" yes \
  "$([ "$(sed 's/.*after \([0-9]*\) ms/\1/' <<<"$ended")" -lt 1500 ] && echo yes || echo "$ended")"

# The remembered placement, in the user-data folder.
package='{"name": "placer", "window": {"remember-placement": true, "width": 640, "height": 480}}'
saved="$prefix/drive_c/users/$(id -un)/AppData/Local/placer/window-placement.json"
rm -f "$saved"
placed_run() {
  local folder
  folder=$(export_with "$package" "$1")
  run_program "$folder/Velmora.exe"
  expect_run "placement: $2" 0 0
  echo "$folder" >"$E2E_ROOT/last-folder"
}
placed_run 'domcontentloaded
place 120 90 920 690
close-box' "placed"
expect_eq "placement: saved where the player left it" \
  '{"left":120,"top":90,"right":920,"bottom":690,"maximized":false,"fullscreen":false}' "$(cat "$saved" 2>/dev/null)"
placed_run 'domcontentloaded
window
fullscreen on
close-box' "restored"
folder=$(cat "$E2E_ROOT/last-folder")
expect_eq "placement: restored" "120 90 920 690" "$(numbers frame "$(logged "$folder" "window " | sed -n 1p)")"
expect_eq "placement: full screen saved with the frame it restores" \
  '{"left":120,"top":90,"right":920,"bottom":690,"maximized":false,"fullscreen":true}' "$(cat "$saved" 2>/dev/null)"
placed_run 'domcontentloaded
window
message {"type":"set-fullscreen","fullscreen":false}
window
maximize
close-box' "restored full screen"
folder=$(cat "$E2E_ROOT/last-folder")
first=$(logged "$folder" "window " | sed -n 1p)
expect_eq "placement: starts full screen again" "$(numbers monitor "$first")" "$(numbers frame "$first")"
expect_eq "placement: leaving full screen gives the saved frame" "120 90 920 690" \
  "$(numbers frame "$(logged "$folder" "window " | sed -n 2p)")"
expect_eq "placement: maximised saved" '"maximized":true' "$(grep -o '"maximized":[a-z]*' "$saved")"
placed_run 'domcontentloaded
window
close' "maximized"
expect_eq "placement: starts maximised" "maximized=1" \
  "$(logged "$(cat "$E2E_ROOT/last-folder")" "window " | sed -n 1p | grep -o 'maximized=[01]')"
for damaged in 'not json' '{"left":5000,"top":5000,"right":5800,"bottom":5600,"maximized":false,"fullscreen":false}' \
  '{"left":0,"top":0,"right":99999,"bottom":600,"maximized":false,"fullscreen":false}'; do
  printf '%s' "$damaged" >"$saved"
  placed_run 'domcontentloaded
window
close' "ignored"
  first=$(logged "$(cat "$E2E_ROOT/last-folder")" "window " | sed -n 1p)
  expect_eq "placement: ignored ($damaged)" "640 480 no" "$(numbers client "$first") $([ "$(numbers frame "$first" | cut -d' ' -f1)" = 5000 ] && echo yes || echo no)"
done

# One running copy: a second start brings the first forward and exits 0.
# The first copy, minimised and waiting to be restored; sets folder and
# first_copy.
start_first_copy() {
  folder=$(export_with '{"name": "single", "settings": {"single-instance": true}}' 'domcontentloaded
minimize
await-restore
close')
  (cd "$folder" && exec "$WINE_RUN" "$folder/Velmora.exe") 2>/dev/null &
  first_copy=$!
  for _ in $(seq 150); do logged "$folder" "window " 2>/dev/null | grep -q "minimized=1" && break; sleep 0.2; done
}
start_first_copy
expect_eq "single instance: the first copy is minimised" 1 "$(logged "$folder" "window " | grep -c "minimized=1")"
run_program "$folder/Velmora.exe"
expect_run "single instance: the second start" 0 0
wait $first_copy
expect_eq "single instance: the first copy ends well" 0 $?
expect_eq "single instance: restored and in front" "restored: minimized=0 foreground=1" "$(logged "$folder" "restored")"
expect_eq "single instance: only one copy made a WebView" 1 "$(logged "$folder" "create environment" | wc -l)"

# The launch arguments, split by Windows' rules, and the platform reach the
# page; the Wine browser arguments reach the runtime (this is Wine); a game
# that runs in the background keeps its WebView visible while minimised.
folder=$(export_with '{"name": "shipper", "settings": {"run-in-background": true, "gpu": "high-performance", "wine-browser-arguments": "--disable-gpu --disable-gpu-compositing"}}' 'domcontentloaded
message {"type":"wrapper-init"}
minimize
restore
close')
PROGRAM_ARGS=(--windowed "mod folder" "caf$(printf '\xc3\xa9')" 'say "hi"' '')
run_program "$folder/Velmora.exe"
PROGRAM_ARGS=()
expect_run "launch arguments" 0 0
expect_eq "launch arguments: the page gets them and the platform" \
  "posted handles {\"arguments\":[\"--windowed\",\"mod folder\",\"caf$(printf '\xc3\xa9')\",\"say \\\"hi\\\"\",\"\"],\"platform\":\"wine\",\"registeredComponentIds\":[],\"type\":\"wrapper-init-response\"}" \
  "$(logged "$folder" 'posted handles {"arguments"' | sed 's/ objects=.*//')"
expect_eq "the Wine browser arguments reach the runtime" 1 \
  "$(logged "$folder" "create environment" | grep -c ' arguments=--disable-background-timer-throttling --disable-renderer-backgrounding --disable-backgrounding-occluded-windows --force_high_performance_gpu --disable-gpu --disable-gpu-compositing target=')"
expect_eq "run in background: the WebView stays visible while minimised" "controller visible 0 window=0
controller visible 1 window=1" "$(logged "$folder" "controller visible")"
folder=$(export_with '{"name": "saver"}' 'domcontentloaded
minimize
restore
close')
run_program "$folder/Velmora.exe"
expect_eq "by default the WebView is hidden while minimised" "controller visible 0 window=0
controller visible 1 window=1
controller visible 0 window=1
controller visible 1 window=1" "$(logged "$folder" "controller visible")"

# A first copy that hangs (stopped) never hangs the second start.
start_first_copy
hung=$(pgrep -f "$(basename "$folder")\\\\Velmora.exe" | head -n 1)
expect_eq "single instance, a hung first copy: found" yes "$([ -n "$hung" ] && echo yes)"
kill -STOP "$hung"
started=$SECONDS
E2E_TIMEOUT=20 run_program "$folder/Velmora.exe"
expect_eq "single instance, a hung first copy: the second start ends within a few seconds" yes \
  "$([ "$EXIT_CODE" = 0 ] && [ $((SECONDS - started)) -le 8 ] && echo yes || echo "exit $EXIT_CODE after $((SECONDS - started)) s")"
kill -CONT "$hung"
wait $first_copy
expect_eq "single instance, a hung first copy: restored once it runs again" "restored: minimized=0 foreground=1" \
  "$(logged "$folder" "restored")"

# Started minimised (a shortcut set to "Minimized"): the window comes up
# minimised and the WebView hidden until the player restores it.
folder=$(export_with '{"name": "minimised"}' 'domcontentloaded
window
restore
close')
LAUNCHER="start /wait /min /unix" run_program "$folder/Velmora.exe"
expect_run "a minimised start" 0 0
expect_eq "a minimised start: minimised, then restored" "minimized=1
minimized=0" "$(logged "$folder" "window " | sed 's/.*\(minimized=[01]\).*/\1/')"
expect_eq "a minimised start: the WebView shown only once restored" "controller visible 0 window=0
controller visible 1 window=1" "$(logged "$folder" "controller visible")"

finish
