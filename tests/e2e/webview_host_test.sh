#!/usr/bin/env bash
# The real host with the WebView2 runtime double: creation, settings,
# handlers, a scripted page, resource answers, window state and shut-down.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
empty_library=$3
tool=$4
fixed_text='This app is set to "fixed" distribution mode, but the WebView2 control failed to initialize. Check there is a valid fixed distribution of Microsoft Edge WebView2 runtime in the "webview2" subfolder.'

# The window fields of the n-th "window" line ($2, from 1).
window_state() {
  logged "$1" "window " | sed -n "${2}p"
}

field() {
  sed -n "s/.* $1=\([^=]*\) [a-z]*=.*/\1/p; s/.* $1=\([0-9a-f]*\)$/\1/p" <<<"$2" | head -n 1
}

# A bundle-mode page played from start to close.
folder=$(export_with '{"name": "game", "window": {"title": "My Game", "width": 640, "height": 480}}' "window
domcontentloaded
window
title Page Title
window
request https://velmora.localhost/index.html
request https://velmora.localhost/img/a%20b.txt bytes=2-5
request https://velmora.localhost/loose.txt
request https://velmora.localhost/missing.png
request https://velmora.localhost/loose.txt bytes=99-
navigation https://velmora.localhost/next.html
navigation https://example.com/
newwindow file:///C:/windows/notepad.exe
permission
fullscreen on
window
message {\"type\":\"set-window-size\",\"windowWidth\":300,\"windowHeight\":200}
window
fullscreen off
window
message {\"type\":\"set-window-size\",\"windowWidth\":800,\"windowHeight\":600}
window
message {\"type\":\"set-window-position\",\"windowX\":10,\"windowY\":20}
window
key 123
key 123 repeat
key 123 up
key 122
minimize
restore
maximize
fullscreen on
fullscreen off
window
title https://velmora.localhost/index.html
window
request-worker https://velmora.localhost/sw.js
newwindow search-ms:query=secret
domcontentloaded
close")
mkdir -p "$folder/packed/img" "$folder/www"
printf '<!doctype html><title>Game</title>' >"$folder/packed/index.html"
printf 'bundle text, not loose' >"$folder/packed/img/a b.txt"
"$tool" pack "$folder/packed" "$folder/www/assets.dat" >/dev/null
printf 'loose file contents' >"$folder/www/loose.txt"
run_program "$folder/Velmora.exe"
expect_run "bundle page" 0 0
expect_eq "environment" 1 "$(logged "$folder" "create environment folder=(none) userdata=C:\\\\users\\\\.*\\\\AppData\\\\Local\\\\game arguments= target=134.0.3124.44 options8=yes$" | wc -l)"
expect_eq "hosting mode untouched" "hosting mode variable=(unset)" "$(logged "$folder" "hosting mode")"
expect_eq "filter for documents and workers" "filter https://velmora.localhost/* context 0 sources ffffffff" \
  "$(logged "$folder" "filter")"
expect_eq "start page" "navigate https://velmora.localhost/index.html" "$(logged "$folder" "navigate")"
first=$(window_state "$folder" 1)
expect_eq "hidden before the page is ready" 0 "$(field visible "$first")"
expect_eq "configured title" "My Game" "$(field title "$first")"
expect_eq "configured client size" "640 480" "$(field client "$first")"
expect_eq "shown on DOMContentLoaded" 1 "$(field visible "$(window_state "$folder" 2)")"
expect_eq "page title" "Page Title" "$(field title "$(window_state "$folder" 3)")"
n=0
for request in "index.html" "img/a%20b.txt --range bytes=2-5" "loose.txt" "missing.png" "loose.txt --range bytes=99-"; do
  n=$((n + 1))
  # shellcheck disable=SC2086
  expect_eq "answer $n ($request) as the resource server defines it" same \
    "$(cmp -s <("$tool" get "$folder" $request) "$folder/response-$n.txt" && echo same)"
done
expect_eq "partial bundle answer" "206 Partial Content" "$(head -n 1 "$folder/response-2.txt")"
# A few answers written out from HTTP's rules, not computed by the project.
expect_eq "a range of a bundle entry, byte for byte" "206 Partial Content
Cache-Control: no-store
Content-Type: text/plain; charset=utf-8
Accept-Ranges: bytes
Content-Range: bytes 2-5/22
Content-Length: 4

ndle" "$(cat "$folder/response-2.txt")"
expect_eq "a missing file, byte for byte" "404 Not Found
Cache-Control: no-store

File not found" "$(cat "$folder/response-4.txt")"
expect_eq "a range past the end, byte for byte" "416 Range Not Satisfiable
Cache-Control: no-store
Content-Type: text/plain; charset=utf-8
Accept-Ranges: bytes
Content-Range: bytes */19" "$(cat "$folder/response-5.txt")"
expect_eq "navigation inside the origin" "navigation https://velmora.localhost/next.html cancelled=0" "$(logged "$folder" "navigation https://velmora")"
expect_eq "navigation outside the origin" "navigation https://example.com/ cancelled=1" "$(logged "$folder" "navigation https://example")"
expect_eq "file URL handled, not opened" "newwindow file:///C:/windows/notepad.exe handled=1" "$(logged "$folder" "newwindow file")"
expect_eq "permission allowed" "permission state=1" "$(logged "$folder" "permission")"
windowed=$(window_state "$folder" 3)
full=$(window_state "$folder" 4)
expect_eq "full screen covers the monitor" "$(field monitor "$full")" "$(field frame "$full")"
expect_eq "full screen has no caption" 0 "$(( 0x$(field style "$full") & 0x00C40000 ))"
expect_eq "no resizing in full screen" "$(field frame "$full")" "$(field frame "$(window_state "$folder" 5)")"
expect_eq "full screen off restores the frame" "$(field frame "$windowed")" "$(field frame "$(window_state "$folder" 6)")"
expect_eq "full screen off restores the style" "$(field style "$windowed")" "$(field style "$(window_state "$folder" 6)")"
expect_eq "set-window-size 800 600" "800 600" "$(field client "$(window_state "$folder" 7)")"
expect_eq "the WebView follows the new client size" "bounds 0 0 800 600" "$(logged "$folder" "bounds 0 0 800 600$" | head -n 1)"
expect_eq "set-window-position 10 20" "10 20" "$(field frame "$(window_state "$folder" 8)" | cut -d' ' -f1-2)"
expect_eq "F12 opens the developer tools once per stroke" "devtools opened" "$(logged "$folder" "devtools")"
expect_eq "F12 is the host's, other keys the page's" "key 123 down handled=1
key 123 repeat handled=1
key 123 up handled=1
key 122 down handled=0" "$(logged "$folder" "key ")"
expect_eq "hidden before navigating, shown with the window, hidden while minimised" "controller visible 0 window=0
controller visible 1 window=1
controller visible 0 window=1
controller visible 1 window=1" "$(logged "$folder" "controller visible")"
expect_eq "the WebView is hidden before the first navigation" "controller visible 0 window=0" \
  "$(logged "$folder" "controller visible\|navigate" | head -n 1)"
minimized=$(logged "$folder" "window " | sed -n 9p)
expect_eq "minimised" 1 "$(field minimized "$minimized")"
back=$(window_state "$folder" 12)
expect_eq "full screen off brings a maximised window back maximised" 1 "$(field maximized "$back")"
expect_eq "an untitled page keeps the page's last title" "$(field title "$(window_state "$folder" 3)")" \
  "$(field title "$(window_state "$folder" 13)")"
expect_eq "a service worker's request is answered" "request https://velmora.localhost/sw.js answered response-6.txt" \
  "$(logged "$folder" "request https://velmora.localhost/sw.js")"
expect_eq "other protocols are not handed to the shell" "newwindow search-ms:query=secret handled=1" \
  "$(logged "$folder" "newwindow search")"
expect_eq "a later document neither shows nor focuses again" "domcontentloaded
controller closed" "$(logged "$folder" "domcontentloaded\|focus\|controller closed" | tail -n 2)"
expect_eq "the focus goes back into the WebView when the window is restored" "restore focus" \
  "$(logged "$folder" "window .*minimized=1\|focus" | sed -n '/minimized=1/{n;s/^focus.*/restore focus/p}')"
expect_eq "the controller is closed before it is released" "controller closed
released webview" "$(logged "$folder" "controller closed\|released webview")"
expect_clean_runtime "bundle page" "$folder"
expect_eq "shut-down releases the WebView objects" "released webview
released controller
released environment" "$(logged "$folder" "released")"

# A response the runtime cannot make is answered with a bare 500: a request
# left without an answer would go to the network.
folder=$(export_with '{"name": "game"}' "#refuse-bodies
request https://velmora.localhost/loose.txt
close")
mkdir -p "$folder/www"
printf 'loose file contents' >"$folder/www/loose.txt"
run_program "$folder/Velmora.exe"
expect_run "responses refused" 0 0
expect_eq "responses refused: a bare 500" "500 Internal Server Error" "$(cat "$folder/response-1.txt" | tr -d '\r')"

# Keys reach the game after the player switches away and back: the focus
# goes back into the WebView whenever the window is activated.
folder=$(export_with '{"name": "game"}' "domcontentloaded
reactivate
reactivate
close")
run_program "$folder/Velmora.exe"
expect_run "switching away and back" 0 0
expect_eq "switching away and back: the focus follows into the WebView" 2 \
  "$(logged "$folder" "reactivate\|focus" | grep -A1 '^reactivate: away' | grep -c '^focus 0$')"
expect_eq "switching away and back: the window is active again" "reactivate: back, active=1
reactivate: back, active=1" "$(logged "$folder" "reactivate: back")"
expect_eq "switching away and back: the page's close is posted, the controller closed while the window exists" \
  "controller closed" "$(logged "$folder" "controller closed\|window destroyed\|controller never")"

# A renderer that exits is reloaded; before the first document the start
# page is asked for again. The fourth exit within a minute, and a lost
# browser process at any time, end the run with a box and exit code 1:
# never a hidden window left running. A page reported unresponsive is busy,
# not broken: it is neither reloaded nor counted.
page_failed='The app'"'"'s page crashed several times in a row and was closed. Run the app again.'
runtime_stopped='The Microsoft Edge WebView2 runtime stopped working. Run the app again; if this keeps happening, reinstall or repair the runtime.'
folder=$(export_with '{"name": "game"}' "process-failed 1
domcontentloaded
process-failed 2
process-failed 6
process-failed 6
process-failed 1
window
process-failed 1
process-failed 1")
run_program "$folder/Velmora.exe"
expect_run "a failing renderer" 1 1 "$page_failed" "Windows Velmora"
expect_eq "a failing renderer: the start page again, then reloads" "navigate https://velmora.localhost/index.html
navigate https://velmora.localhost/index.html
reload https://velmora.localhost/index.html
reload https://velmora.localhost/index.html" "$(logged "$folder" "navigate\|reload")"
expect_eq "a failing renderer: the GPU process is the runtime's own to restart" 1 "$(logged "$folder" "window " | wc -l)"

# The runtime repeats "unresponsive" every few seconds while the page is
# busy: a spell of 10 s is waited out; after 20 s the player is asked, and
# each answer does what it says; the question goes away by itself once the
# page answers again (no report for 10 s).
busy_page='The app is not responding. It may be busy loading or computing and answer again soon.

Reload its page? What was not saved is lost. Choose No to wait.'
folder=$(export_with '{"name": "game"}' "domcontentloaded
busy 10
close")
run_program "$folder/Velmora.exe"
expect_run "a page busy for 10 s" 0 0
expect_eq "a page busy for 10 s: reported all along" yes \
  "$(logged "$folder" "busy 10 s: " | grep -q 'busy 10 s: [56] unresponsive reports' && echo yes)"
expect_eq "a page busy for 10 s: kept as it was" "navigate https://velmora.localhost/index.html" \
  "$(logged "$folder" "navigate\|reload")"
folder=$(export_with '{"name": "game", "window": {"title": "Busy Game"}}' "domcontentloaded
busy 24
close")
BOX_KEY=y run_program "$folder/Velmora.exe"
expect_eq "a page busy for 24 s, reloaded: the question" "$busy_page" "$(box_text 0)"
expect_eq "a page busy for 24 s, reloaded: its caption" "Busy Game" "${BOX_CAPTIONS[0]:-}"
expect_eq "a page busy for 24 s, reloaded: exit code" 0 "$EXIT_CODE"
expect_eq "a page busy for 24 s, reloaded: once" "reload https://velmora.localhost/index.html" "$(logged "$folder" "reload")"
folder=$(export_with '{"name": "game"}' "domcontentloaded
busy 24
pause 12
close")
BOX_KEY=none run_program "$folder/Velmora.exe"
expect_eq "a page busy for 24 s that answers again: asked" 1 "${#BOX_RAW[@]}"
expect_eq "a page busy for 24 s that answers again: the question closed by itself, no reload" "pause 12 s: boxes open=0" \
  "$(logged "$folder" "pause\|reload")"
expect_eq "a page busy for 24 s that answers again: exit code" 0 "$EXIT_CODE"

folder=$(export_with '{"name": "game"}' "process-failed 0")
run_program "$folder/Velmora.exe"
expect_run "a lost browser process before the page" 1 1 "$runtime_stopped" "Windows Velmora"
expect_eq "a lost browser process: the window was never shown" "" "$(logged "$folder" "controller visible 1")"

# Bodies of more than 4 GiB from the bundle and from disk, read on the UI
# thread and on another thread, and links inside "www" that lead out of it.
big=$(( (4 << 30) + 4321 ))
tail_text="the end of a big file"
near_end="bytes=$((big - ${#tail_text}))-"
folder=$(export_with '{"name": "game"}' "request https://velmora.localhost/big.bin $near_end
request-thread https://velmora.localhost/big.bin bytes=0-
request-thread https://velmora.localhost/disk-big.bin $near_end
request https://velmora.localhost/disk-big.bin bytes=0-
request-thread https://velmora.localhost/small.txt
request https://velmora.localhost/out.txt
request https://velmora.localhost/up/secret.txt
request https://velmora.localhost/alias.txt
close")
mkdir -p "$folder/www"
python3 - "$folder/www/assets.dat" "$big" "$tail_text" <<'PY'
import struct, sys
path, size, tail = sys.argv[1], int(sys.argv[2]), sys.argv[3].encode()
name = b"big.bin"
entry = struct.pack(">IIQQQBI", 0, 0, 0, size, 0, 0, len(name)) + name
fdir = struct.pack(">I", 1) + entry
with open(path, "wb") as out:
    out.write(b"q7ab" + struct.pack(">III", 0, 16, 0) + b"blob" + struct.pack(">Q", size))
    out.seek(size - len(tail), 1)
    out.write(tail + b"fdir" + struct.pack(">Q", len(fdir)) + fdir)
PY
truncate -s $((big - ${#tail_text})) "$folder/www/disk-big.bin"
printf '%s' "$tail_text" >>"$folder/www/disk-big.bin"
printf 'small' >"$folder/www/small.txt"
printf 'secret' >"$folder/secret.txt"
ln -s ../secret.txt "$folder/www/out.txt"
ln -s .. "$folder/www/up"
ln -s small.txt "$folder/www/alias.txt"
run_program "$folder/Velmora.exe"
expect_run "big bodies" 0 0
n=0
for request in "big.bin --range $near_end" "big.bin --range bytes=0-" "disk-big.bin --range $near_end" \
  "disk-big.bin --range bytes=0-" "small.txt" "out.txt" "up/secret.txt" "alias.txt"; do
  n=$((n + 1))
  # shellcheck disable=SC2086
  expect_eq "big bodies: answer $n ($request) as the resource server defines it" same \
    "$(cmp -s <("$tool" get "$folder" $request) "$folder/response-$n.txt" && echo same)"
done
expect_eq "a range near the end of a bundle entry past 4 GiB" "$tail_text" "$(tail -c ${#tail_text} "$folder/response-1.txt")"
expect_eq "a range near the end of a disk file past 4 GiB" "$tail_text" "$(tail -c ${#tail_text} "$folder/response-3.txt")"
expect_eq "bytes=0- of a big entry is one bounded piece" "Content-Range: bytes 0-2097151/$big" \
  "$(grep -a '^Content-Range' "$folder/response-2.txt")"
expect_clean_runtime "big bodies" "$folder"
expect_eq "every body read twice matches its length" 0 "$(logged "$folder" "request .*(Content-Length\|second read)" | wc -l)"
expect_eq "bodies read on another thread" 3 "$(logged "$folder" "request .* (read on another thread)$" | wc -l)"
expect_eq "links out of www are not found" "404 Not Found
404 Not Found" "$(head -qn 1 "$folder/response-6.txt" "$folder/response-7.txt")"
expect_eq "a link inside www is served" "small" "$(tail -c 5 "$folder/response-8.txt")"

# Remote mode with window-to-visual hosting: nothing intercepted or restricted.
# The variables set for the runtime are gone once the controller exists, so
# that no program the host starts inherits them.
folder=$(export_with '{"name": "game", "main": "https://example.com/play", "window": {"background-color": "#102030"}, "settings": {"content-mode": "remote", "hosting-mode": "window-to-visual"}, "chromium-args": "--mute-audio"}' "request https://velmora.localhost/index.html
navigation https://elsewhere.example/
environment
close")
run_program "$folder/Velmora.exe"
expect_run "remote page" 0 0
expect_eq "remote: hosting mode, then no variable left" "hosting mode variable=COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL
background color variable=FF102030
later: hosting mode variable=(unset)
later: background color variable=(unset)" "$(logged "$folder" "\(later: \)\?\(hosting mode\|background color\) variable")"
expect_eq "remote: browser arguments" 1 "$(logged "$folder" "create environment .* arguments=--mute-audio " | wc -l)"
expect_eq "remote: no filter" "" "$(logged "$folder" "filter")"
expect_eq "remote: start page" "navigate https://example.com/play" "$(logged "$folder" "navigate")"
expect_eq "remote: no interception" "request https://velmora.localhost/index.html not intercepted" "$(logged "$folder" "request")"
expect_eq "remote: navigation free" "navigation https://elsewhere.example/ cancelled=0" "$(logged "$folder" "navigation")"

# Fixed distribution finds "webview2" beside the executable, whatever the
# current directory, and never in the current directory.
fixed='{"name": "game", "window": {"title": "My Game"}, "settings": {"distribution-mode": "fixed"}}'
elsewhere=$(new_folder)
mkdir "$elsewhere/webview2"
folder=$(export_with "$fixed" "close")
RUN_DIR=$elsewhere run_program "$folder/Velmora.exe"
expect_run "fixed runtime missing beside the executable" 1 1 "$fixed_text" "My Game"
mkdir "$folder/webview2"
RUN_DIR=$elsewhere run_program "$folder/Velmora.exe"
expect_run "fixed runtime beside the executable" 0 0
expect_eq "fixed: browser folder" 1 "$(logged "$folder" "create environment folder=.*$(basename "$folder")\\\\webview2 " | wc -l)"

# Environment and loader failures: one box each, exit code 1. A missing
# runtime is the installer's test (runtime_installer_test.sh), which runs a
# build of the host that downloads from a local server.
folder=$(export_with '{"name": "game"}' "#fail-environment")
run_program "$folder/Velmora.exe"
expect_run "environment creation fails" 1 1 "Failed to create the WebView2 environment. Check that the Microsoft Edge WebView2 runtime is installed and working, then run the app again." "Windows Velmora"
expect_clean_runtime "the failure box waits until the callback has returned" "$folder"

folder=$(export_with '{"name": "game"}' "close")
rm "$folder/WebView2Loader.dll"
run_program "$folder/Velmora.exe"
expect_run "loader missing" 1 1 "Failed to load WebView2Loader.dll. Check the file is in the same folder as the app." "Windows Velmora"
cp "$empty_library" "$folder/WebView2Loader.dll"
run_program "$folder/Velmora.exe"
expect_run "loader without exports" 1 1 "WebView2Loader.dll is damaged or too old. Replace it with the one that came with the app." "Windows Velmora"

finish
