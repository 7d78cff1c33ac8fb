#!/usr/bin/env bash
# Runs every test: the native tests first, then the Windows tests and the
# end-to-end runs under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset native
# The private prefix is made once; later runs reuse it.
xvfb-run -a tests/windows/wine-run.sh wineboot -i >/dev/null 2>&1
xvfb-run -a ctest --preset win64
xvfb-run -a ctest --preset win32
