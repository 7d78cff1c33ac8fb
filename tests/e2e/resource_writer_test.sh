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

helper_run() {
  "$WINE_RUN" "$helper" "$@" 2>/dev/null | tr -d '\r'
}

folder=$(new_folder)
cp "$quorvel" "$folder/platform.exe"
mkdir "$folder/portable"
cp "$quorvel" "$folder/portable/Quorvel.exe"
helper_run seed "$folder/platform.exe"
expect_eq "the platform's functions: exit code" 0 "${PIPESTATUS[0]}"
helper_run seed-portable "$folder/portable/Quorvel.exe"
expect_eq "the portable writer: exit code" 0 "${PIPESTATUS[0]}"
platform=$(helper_run all "$folder/platform.exe")
expect_eq "the same resources, read back by the platform" "$platform" \
  "$(helper_run all "$folder/portable/Quorvel.exe")"
expect_eq "six images, their group and the manifest" 8 "$(wc -l <<<"$platform")"
expect_eq "the manifest kept" 1 "$(grep -c '^24 #1 ' <<<"$platform")"

# The rewritten updater still loads and runs: alone in its folder, it says
# that it found nothing to update.
run_program "$folder/portable/Quorvel.exe"
expect_run "the rewritten program" 0 1 "$failure_text" "Quorvel"

# A program without a resource section is refused, and left as it was.
cp "$plain_app" "$folder/plain.exe"
before=$(sha256sum <"$folder/plain.exe")
expect_eq "no resource section: refused" "executable has no resource section" \
  "$("$WINE_RUN" "$helper" seed-portable "$folder/plain.exe" 2>&1 | tr -d '\r' | grep -v ':fixme:')"
expect_eq "no resource section: untouched" "$before" "$(sha256sum <"$folder/plain.exe")"
expect_eq "no temporary file left" "plain.exe platform.exe portable" "$(ls "$folder" | tr '\n' ' ' | sed 's/ $//')"

finish
