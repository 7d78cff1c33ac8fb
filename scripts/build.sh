#!/usr/bin/env bash
# Builds everything into dist/: Velmora.exe, Quorvel.exe, WebView2Loader.dll
# and the native velmora-tool.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in native win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "build: programs are in $(pwd)/dist"
