#!/usr/bin/env bash
# Runs every test: the native tests first, then the Windows tests and the
# end-to-end runs under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
ctest --preset native
# Every Wine run shares one display, and the prefix's server is ended before
# that display goes: a server left from an earlier display keeps its desktop
# there, and the next program's windows then die with an X error.
wine_run=tests/windows/wine-run.sh
"$wine_run" wineserver -k >/dev/null 2>&1 || true
xvfb-run -a bash -c "set -euo pipefail
  trap '\"$wine_run\" wineserver -k >/dev/null 2>&1 || true' EXIT
  # The private prefix is made once; later runs reuse it.
  \"$wine_run\" wineboot -i >/dev/null 2>&1
  ctest --preset win64
  if \"$wine_run\" --can-run-32-bit; then
    ctest --preset win32
  else
    echo 'test: this kernel cannot run 32-bit programs, so Wine cannot start Quorvel.exe:' \
      'only its binary checks run; its Windows runs are NOT tested on this machine' >&2
    ctest --preset win32 -R binary_checks
  fi"
