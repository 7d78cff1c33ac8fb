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
exec wine "$@"
