#!/usr/bin/env bash
# Builds everything into dist/: Velmora.exe, Quorvel.exe, WebView2Loader.dll
# and the native velmora-tool, then exports the sample game into
# dist/star-catcher/, ready to zip.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
for preset in native win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
# The sample is made in build/ from its sources and its asset script, with
# the sample extension beside it.
rm -rf build/sample-game
cp -r examples/sample-game build/sample-game
python3 build/sample-game/tools/make_assets.py build/sample-game
cp build/win64/examples/extension/Tandrel.dll build/sample-game/
dist/velmora-tool export build/sample-game dist/star-catcher --replace
echo "build: programs are in $(pwd)/dist, the exported sample in $(pwd)/dist/star-catcher"
