#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix
# (build/wineprefix unless VELMORA_WINEPREFIX says otherwise).
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="${VELMORA_WINEPREFIX:-$root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: the prefix must never offer to download them.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# "wineserver -k" and "wineserver -w" talk to this prefix's server itself.
if [ "${1:-}" = wineserver ]; then shift; exec wineserver "$@"; fi
# Debian's "wine" starts Wine's 32-bit loader whenever wine32 is installed,
# and 64-bit programs from there. A kernel built without 32-bit support
# (some virtual machines) refuses that loader with "Exec format error";
# 64-bit programs then start through the 64-bit loader itself, and 32-bit
# ones cannot run at all ("--can-run-32-bit" answers by its exit code).
wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64
if [ "${1:-}" = --can-run-32-bit ]; then exec "$wine32" --version >/dev/null 2>&1; fi
if "$wine32" --version >/dev/null 2>&1; then exec wine "$@"; fi
export WINELOADER=$wine64
exec "$wine64" "$@"
