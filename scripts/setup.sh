#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine.
# Idempotent: packages already present are not touched, and apt is not
# consulted at all when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build file
  g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  nlohmann-json3-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  wine wine64 wine32:i386
  zlib1g-dev libbrotli-dev pkgconf libcli11-dev
  xvfb xauth xdotool python3 strace unzip libarchive-tools 7zip
  osslsigncode openssl nsis ffmpeg
  chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Node runs the engine bridge of the end-to-end tests; Debian's own is used
# only where the machine has none.
command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  echo "setup: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

command -v dotnet >/dev/null || { echo "setup: the dotnet CLI is needed to restore the WebView2 SDK" >&2; exit 1; }

# The engine bridge's packages and the libraries of the third-party app
# suite, exactly as locked; fetched again only when a lock changes.
for folder in tests/e2e/engine_bridge tests/e2e/third_party; do
  if ! cmp -s "$folder/package-lock.json" "$folder/node_modules/.velmora-lock"; then
    echo "setup: installing the npm packages of $folder"
    (cd "$folder" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
    cp "$folder/package-lock.json" "$folder/node_modules/.velmora-lock"
  fi
done
