#!/usr/bin/env bash
# The sample game exports from the repository as it stands (its generated
# icons are kept in it), as the README's first export example shows.
set -euo pipefail
tool=$1
sample=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$tool" export "$sample" "$out/star-catcher"
for file in "Star Catcher.exe" Quorvel.exe WebView2Loader.dll package.json icons/icon-256.png www/assets.dat; do
  [ -f "$out/star-catcher/$file" ] || { echo "FAIL the export lacks $file"; exit 1; }
done
echo "1 passed, 0 failed"
