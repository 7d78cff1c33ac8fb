#!/usr/bin/env bash
# The portable resource writer against the platform's own functions under
# Wine: the same calls on copies of a real executable give the same
# resources, the rewritten program still runs, and a layout the writer
# refuses leaves the file as it was.
source "$(dirname "$0")/harness.sh"
quorvel=$1
plain_app=$2
helper=$3
failure_text="Failed to find or update any executable file icons. Check the folder structure is correct. (Try running this tool immediately after extracting an export, since Corvane exports with the expected folder structure.) Also check that you have write access to the executable files."

# The helper takes Windows paths: the portable writer reads through the
# host's long-path file layer, which knows no Unix paths.
helper_run() {
  "$WINE_RUN" "$helper" "$1" "$("$WINE_RUN" winepath -w "$2" 2>/dev/null | tr -d '\r')" "${@:3}"
}

helper_output() {
  helper_run "$@" 2>/dev/null | tr -d '\r'
}

# What the helper reports on failure: its own line, without Wine's.
helper_error() {
  helper_run "$@" 2>&1 >/dev/null | tr -d '\r' | grep -v ':fixme:'
}

helper_status() {
  helper_run "$@" >/dev/null 2>&1
  echo $?
}

folder=$(new_folder)
cp "$quorvel" "$folder/platform.exe"
mkdir "$folder/portable"
cp "$quorvel" "$folder/portable/Quorvel.exe"
expect_eq "the platform's functions: exit code" 0 "$(helper_status seed "$folder/platform.exe")"
expect_eq "the portable writer: exit code" 0 "$(helper_status seed-portable "$folder/portable/Quorvel.exe")"
platform=$(helper_output all "$folder/platform.exe")
expect_eq "the same resources, read back by the platform" "$platform" \
  "$(helper_output all "$folder/portable/Quorvel.exe")"
expect_eq "six images, their group and the manifest" 8 "$(wc -l <<<"$platform")"
expect_eq "the manifest kept" 1 "$(grep -c '^24 #1 ' <<<"$platform")"

# The same on a file laid out by the tests' builder, its resources last.
helper_output make "$folder/built-platform.exe" last
cp "$folder/built-platform.exe" "$folder/built-portable.exe"
helper_output seed "$folder/built-platform.exe"
helper_output seed-portable "$folder/built-portable.exe"
built=$(helper_output all "$folder/built-platform.exe")
expect_eq "resources last: the same resources" "$built" "$(helper_output all "$folder/built-portable.exe")"
expect_eq "resources last: six images, their group and the manifest" 8 "$(wc -l <<<"$built")"

# The rewritten updater still loads and runs: alone in its folder, it says
# that it found nothing to update.
run_program "$folder/portable/Quorvel.exe"
expect_run "the rewritten program" 0 1 "$failure_text" "Quorvel"

# A layout the writer must refuse is left as it was.
helper_output make "$folder/built-refused.exe" refused
before=$(sha256sum <"$folder/built-refused.exe")
expect_eq "a section after the resources: refused" "sections follow the resource section" \
  "$(helper_error seed-portable "$folder/built-refused.exe")"
expect_eq "a section after the resources: untouched" "$before" "$(sha256sum <"$folder/built-refused.exe")"

# A program without a resource section is refused, and left as it was.
cp "$plain_app" "$folder/plain.exe"
before=$(sha256sum <"$folder/plain.exe")
expect_eq "no resource section: refused" "executable has no resource section" \
  "$(helper_error seed-portable "$folder/plain.exe")"
expect_eq "no resource section: untouched" "$before" "$(sha256sum <"$folder/plain.exe")"
expect_eq "no temporary file left" "built-platform.exe built-portable.exe built-refused.exe plain.exe platform.exe portable" "$(ls "$folder" | tr '\n' ' ' | sed 's/ $//')"

finish
