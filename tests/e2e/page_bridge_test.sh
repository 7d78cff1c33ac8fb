#!/usr/bin/env bash
# The page bridge on the real host with the runtime double and the sample
# extension library: "wrapper-init" with folder handles and components,
# extension messages both ways, placeholders, and the library's life.
source "$(dirname "$0")/harness.sh"
velmora=$1
runtime_double=$2
sample=$3
partial=$4

wrapper_init='message {"type":"wrapper-init"}'
extension_text='{"type":"extension-message","text":"h\u00e9llo ✓ é","resolve":"<documents>"}'

# Handle n (from 0) of the m-th directory-handles message (from 1).
handle() {
  logged "$1" "handle [0-9]" | sed -n "$(( ($2 - 1) * 13 + $3 + 1 ))p" | cut -d' ' -f3-
}

folder=$(export_with '{"name": "game"}' "domcontentloaded
$wrapper_init
message $extension_text
message-object
$wrapper_init
close")
cp "$sample" "$folder/Tandrel.dll"
: >"$folder/Tandrel-calls.txt"
run_program "$folder/Velmora.exe"
expect_run "sample extension" 0 0
app_folder=$(sed -n 's/^Init //p' "$folder/Tandrel-calls.txt" | tr -d '\r')
documents=$(handle "$folder" 1 6)
escaped_documents=${documents//\\/\\\\}
response='{"arguments":[],"platform":"wine","registeredComponentIds":["sample.echo","sample.folders"],"type":"wrapper-init-response"}'
expect_eq "the page's messages, each reply by the way of the handles" "posted handles {\"type\":\"directory-handles\"} objects=13
posted handles $response objects=0
posted json $extension_text
posted json {\"type\":\"sample-folder\",\"placeholder\":\"<documents>\",\"path\":\"$escaped_documents\"}
posted handles {\"type\":\"directory-handles\"} objects=13
posted handles $response objects=0" \
  "$(logged "$folder" "posted ")"
# The runtime keeps no order between its two ways of posting (the double
# delivers the plain way first): the page still gets the handles first.
expect_eq "the page receives the handles before the response" "page received {\"type\":\"directory-handles\"}
page received $response
page received $extension_text
page received {\"type\":\"sample-folder\",\"placeholder\":\"<documents>\",\"path\":\"$escaped_documents\"}
page received {\"type\":\"directory-handles\"}
page received $response" "$(logged "$folder" "page received ")"
expect_clean_runtime "sample extension" "$folder"
expect_eq "a read-write handle asked for every folder with a path" \
  "$(logged "$folder" "handle [0-9]* [^-]" | wc -l)" "$(logged "$folder" "handle request .* permission=1$" | wc -l)"
# Wine 8 has no Screenshots known folder: its slot stays empty.
expect_eq "handle 11 (screenshots) is empty under Wine" "-" "$(handle "$folder" 1 11)"
expect_eq "handle 0 is the app folder" "$app_folder" "$(handle "$folder" 1 0)"
expect_eq "handle 1 is the absolute www folder" "${app_folder}www\\" "$(handle "$folder" 1 1)"
expect_eq "handle 2 is the app's data folder" 1 \
  "$(handle "$folder" 1 2 | grep -c '^C:\\users\\[^\\]*\\AppData\\Local\\game$')"
expect_eq "handle 6 is the prefix's documents folder" 1 "$(grep -c '^C:\\users\\[^\\]*\\Documents$' <<<"$documents")"
prefix_documents="${VELMORA_WINEPREFIX:-$E2E_DIR/../../build/wineprefix}/drive_c/users/${documents#C:\\users\\}"
expect_eq "the documents folder exists in the prefix" yes "$([ -d "${prefix_documents//\\//}" ] && echo yes)"
for n in $(seq 0 12); do
  expect_eq "handle $n is the same both times" "$(handle "$folder" 1 "$n")" "$(handle "$folder" 2 "$n")"
done
expect_eq "the library's calls in order" "Init $app_folder
OnMainWindowCreated window
OnExtensionMessage $extension_text
Release
Unloaded" "$(tr -d '\r' <"$folder/Tandrel-calls.txt")"
expect_eq "the message reached the library byte for byte" same \
  "$(cmp -s <(sed -n 3p "$folder/Tandrel-calls.txt") <(printf 'OnExtensionMessage %s\n' "$extension_text") && echo same)"

# Without the library nothing changes but the empty list; one in the
# current directory is never loaded.
folder=$(export_with '{"name": "game"}' "$wrapper_init
message $extension_text
close")
elsewhere=$(new_folder)
cp "$sample" "$elsewhere/Tandrel.dll"
: >"$elsewhere/Tandrel-calls.txt"
RUN_DIR=$elsewhere run_program "$folder/Velmora.exe"
expect_run "no extension library" 0 0
expect_eq "no library: handles, then an empty list" "posted handles {\"type\":\"directory-handles\"} objects=13
posted handles {\"arguments\":[],\"platform\":\"wine\",\"registeredComponentIds\":[],\"type\":\"wrapper-init-response\"} objects=0" "$(logged "$folder" "posted ")"
expect_eq "no library: the current directory's one is left alone" "" "$(cat "$elsewhere/Tandrel-calls.txt")"

# A runtime without the handle interfaces still gets the response.
folder=$(export_with '{"name": "game"}' "#old-runtime
$wrapper_init
request-worker https://velmora.localhost/sw.js
close")
cp "$sample" "$folder/Tandrel.dll"
run_program "$folder/Velmora.exe"
expect_run "older runtime" 0 0
expect_eq "older runtime: only the response" \
  "posted json {\"arguments\":[],\"platform\":\"wine\",\"registeredComponentIds\":[\"sample.echo\",\"sample.folders\"],\"type\":\"wrapper-init-response\"}" \
  "$(logged "$folder" "posted ")"
expect_eq "older runtime: no handle asked for" "" "$(logged "$folder" "handle")"
expect_eq "older runtime: the documents' filter" "filter https://velmora.localhost/* context 0" "$(logged "$folder" "filter")"
expect_eq "older runtime: a worker's request is not seen" "request https://velmora.localhost/sw.js not intercepted" \
  "$(logged "$folder" "request")"
expect_clean_runtime "older runtime" "$folder"

# A library without one export is never initialised; its others still run.
folder=$(export_with '{"name": "game"}' "$wrapper_init
close")
cp "$partial" "$folder/Tandrel.dll"
run_program "$folder/Velmora.exe"
expect_run "incomplete extension library" 0 0
expect_eq "incomplete library: no Init" "OnMainWindowCreated
Release
Unloaded" "$(tr -d '\r' <"$folder/Tandrel-calls.txt")"
expect_eq "incomplete library: no components" 1 \
  "$(logged "$folder" 'posted handles {"arguments":\[\],"platform":"wine","registeredComponentIds":\[\],' | wc -l)"

finish
