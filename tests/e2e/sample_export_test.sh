#!/usr/bin/env bash
# The sample game exported by velmora-tool, run under Wine with the runtime
# double in place of the loader: the window, the start page and media ranges
# from the bundle, a service worker's request, "wrapper-init" with the sample
# extension, and Quorvel.exe writing the icons into the exported host.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
tandrel=$3
tool=$4
dist=$5
icon_resources=$6
sample=$7
for program in "$dist/Quorvel.exe" "$dist/WebView2Loader.dll"; do
  [ -f "$program" ] || { echo "missing $program: build every preset first (scripts/build.sh)" >&2; exit 1; }
done

export_folder="$E2E_ROOT/star-catcher"
export_sample_game "$export_folder"
expect_eq "export succeeds" 0 $?
expect_eq "the export holds exactly the game's files" "Quorvel.exe
Star Catcher.exe
Tandrel.dll
WebView2Loader.dll
icons/icon-128.png
icons/icon-16.png
icons/icon-256.png
icons/icon-32.png
icons/icon-64.png
package.json
www/assets.dat" "$(cd "$export_folder" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
expect_eq "the bundle holds the game, not its tools" "game.js host.js images/star.png index.html media/intro.wav media/music.wav scores.mjs style.css sw-check.txt sw.js" \
  "$("$tool" ls "$export_folder/www/assets.dat" | cut -d' ' -f3- | tr '\n' ' ' | sed 's/ $//')"
expect_eq "the icon updater's view" "1 16 icons/icon-16.png
2 32 icons/icon-32.png
3 64 icons/icon-64.png
4 128 icons/icon-128.png
5 256 icons/icon-256.png
exe Star Catcher.exe" "$("$tool" icons "$export_folder")"

# The runtime double plays the page: it stands in for the loader of a copy.
run=$(new_folder)
cp -r "$export_folder/." "$run/"
cp "$runtime_double" "$run/WebView2Loader.dll"
printf '%s\n' "domcontentloaded
window
request https://velmora.localhost/index.html
request https://velmora.localhost/media/intro.wav bytes=0-
request https://velmora.localhost/media/intro.wav bytes=2097152-
request-worker https://velmora.localhost/sw-check.txt
message {\"type\":\"wrapper-init\"}
message {\"type\":\"extension-message\",\"text\":\"ping\"}
close" >"$run/webview2-double-script.txt"
run_program "$run/Star Catcher.exe"
expect_run "the exported game" 0 0
placement="${VELMORA_WINEPREFIX:-$E2E_DIR/../../build/wineprefix}/drive_c/users/$(id -un)/AppData/Local/Star Catcher/window-placement.json"
frame=$(logged "$run" "window " | head -n 1 | sed 's/.* frame=\([-0-9]*\) \([-0-9]*\) \([-0-9]*\) \([-0-9]*\) .*/"left":\1,"top":\2,"right":\3,"bottom":\4/')
expect_eq "the game remembers where its window was" "{$frame,\"maximized\":false,\"fullscreen\":false}" \
  "$(cat "$placement" 2>/dev/null)"
expect_eq "window shown with the game's title and size" "visible=1 title=Star Catcher client=960 640" \
  "$(logged "$run" "window " | sed -n 's/^window \(visible=[01]\) \(title=.*\) frame=.* \(client=[0-9]* [0-9]*\) .*/\1 \2 \3/p')"
expect_eq "the start page from the bundle" "$("$tool" get "$export_folder" index.html)" "$(cat "$run/response-1.txt")"
size=$(stat -c %s "$app/media/intro.wav")
expect_eq "the clip's first piece" "Content-Range: bytes 0-2097151/$size" "$(grep -a '^Content-Range' "$run/response-2.txt")"
expect_eq "the clip's next piece, as the media stack asks for it" "Content-Range: bytes 2097152-4194303/$size" \
  "$(grep -a '^Content-Range' "$run/response-3.txt")"
expect_eq "the clip's bytes" same "$(cmp -s <(tail -c +2097153 "$app/media/intro.wav" | head -c 2097152) \
  <(tail -c 2097152 "$run/response-3.txt") && echo same)"
expect_eq "the service worker's request is answered" "200 OK" "$(head -n 1 "$run/response-4.txt")"
expect_eq "wrapper-init answered with the sample's components" \
  'page received {"arguments":[],"platform":"wine","registeredComponentIds":["sample.echo","sample.folders"],"type":"wrapper-init-response"}' \
  "$(logged "$run" "page received {\"arguments")"
expect_eq "the extension echoes" 'posted json {"type":"extension-message","text":"ping"}' \
  "$(logged "$run" 'posted json {"type":"extension-message"')"

# The export wrote the icons and the version information on Linux.
exported_icons=$("$WINE_RUN" "$icon_resources" dump "$export_folder/Star Catcher.exe" 2>/dev/null | tr -d '\r')
expect_eq "the export's icons: five images" 5 "$(grep -c '^3 #[1-5] 0 ' <<<"$exported_icons")"
expect_eq "the export's icons: the group" 1 "$(grep -c '^14 MAINICON 0 ' <<<"$exported_icons")"
expect_eq "the export's icons: the 256 image" 1 \
  "$(grep -cF "3 #5 0 $(od -An -v -tx1 "$app/icons/icon-256.png" | tr -d ' \n')" <<<"$exported_icons")"
expect_eq "the export's version information" "$(cat "$(dirname "$0")/sample_version.txt")" \
  "$("$WINE_RUN" "$icon_resources" version "$export_folder/Star Catcher.exe" 2>/dev/null | tr -d '\r')"

# Quorvel.exe on Windows after the export writes the same icons again
# (where the machine can run 32-bit programs at all).
if "$WINE_RUN" --can-run-32-bit; then
  run_program "$export_folder/Quorvel.exe"
  expect_eq "the icon updater: exit code" 0 "$EXIT_CODE"
  expect_eq "the icon updater: the same icon resources" "$exported_icons" \
    "$("$WINE_RUN" "$icon_resources" dump "$export_folder/Star Catcher.exe" 2>/dev/null | tr -d '\r')"
else
  echo "NOT RUN: Quorvel.exe on the export (this kernel cannot run 32-bit programs)" >&2
fi

finish
