#!/usr/bin/env bash
# The installer beside the zip for a game of incompressible data (four
# 64 MB files of random bytes and 1,000 files of 8 KB, 264 MB in all, as
# compressed game assets are): export + --zip and export + --installer
# taken in turn, three rounds each; the median wall time and the output's
# size. With --install, the silent install under Wine beside plain copies
# of the same export, under Wine and on Linux (needs the prefix of
# scripts/test.sh and a display: xvfb-run -a bash bench/installer_vs_zip.sh
# --install).
# Run: bash bench/installer_vs_zip.sh [--install] (after scripts/build.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tool="$root/dist/velmora-tool"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

app="$work/app"
mkdir -p "$app/media" "$app/small"
printf '{"name": "Bench Game"}' >"$app/package.json"
printf '<title>bench</title>' >"$app/index.html"
for i in 1 2 3 4; do head -c $((64 << 20)) /dev/urandom >"$app/media/clip$i.webm"; done
for i in $(seq 1000); do head -c 8192 /dev/urandom >"$app/small/s$i.bin"; done

seconds() {
  /usr/bin/time -f "%e" "$@" >/dev/null 2>"$work/time.txt"
  tail -n 1 "$work/time.txt"
}

for round in 1 2 3; do
  rm -rf "$work/out" "$work/game.zip" "$work/Bench Game-setup.exe"
  seconds "$tool" export "$app" "$work/out" --zip "$work/game.zip" >>"$work/zip.txt"
  rm -rf "$work/out"
  seconds "$tool" export "$app" "$work/out" --installer >>"$work/installer.txt"
done
median() { sort -n "$1" | sed -n 2p; }
echo "export + zip:       $(median "$work/zip.txt") s, zip $(stat -c %s "$work/game.zip") bytes"
echo "export + installer: $(median "$work/installer.txt") s, installer $(stat -c %s "$work/Bench Game-setup.exe") bytes"

[ "${1:-}" = --install ] || exit 0
wine_run="$root/tests/windows/wine-run.sh"
prefix=${VELMORA_WINEPREFIX:-$root/build/wineprefix}
user=$(ls "$prefix/drive_c/users" | grep -vx Public | head -n 1)
installed="$prefix/drive_c/users/$user/AppData/Local/Programs/Bench Game"
copy="$prefix/drive_c/users/$user/AppData/Local/Programs/Bench Copy"
rm -rf "$installed" "$copy"
sync
install_time=$(seconds bash -c "'$wine_run' 'Z:$work/Bench Game-setup.exe' /S && '$wine_run' wineserver -w")
# The same files copied by a Windows program under Wine (Wine's start and
# its file calls included), and by Linux.
wine_copy_time=$(seconds bash -c "'$wine_run' cmd /c xcopy /E /I /Q 'Z:$work/out' 'Z:$copy' && '$wine_run' wineserver -w")
rm -rf "$copy"
copy_time=$(seconds cp -r "$work/out" "$copy")
echo "silent install under Wine: $install_time s; xcopy of the export under Wine: $wine_copy_time s;" \
  "cp on Linux: $copy_time s"
"$wine_run" "C:\\users\\$user\\AppData\\Local\\Programs\\Bench Game\\Uninstall.exe" /S /REMOVEDATA || true
"$wine_run" wineserver -w
rm -rf "$installed" "$copy"
