#!/usr/bin/env bash
# velmora-tool serve against velmora-tool get: one table of requests, each
# asked of the preview server by curl (a real HTTP client, byte ranges
# included) and of get, for an export folder and for the app folder it was
# made from; the server listens on loopback only and stops cleanly on
# Ctrl-C, leaving nothing behind.
set -uo pipefail
tool=$1
work=$(mktemp -d)
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT
failures=0
checks=0
expect_eq() {
  checks=$((checks + 1))
  if [ "$2" != "$3" ]; then
    failures=$((failures + 1))
    printf 'FAIL %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}

app="$work/app"
mkdir -p "$app/levels" "$app/media"
printf '{"name": "Served", "settings": {"cross-origin-isolation": true}}' >"$app/package.json"
printf '<title>served</title>' >"$app/index.html"
printf '<p>level one</p>' >"$app/levels/index.html"
printf '{"level": 1}' >"$app/levels/one.json"
head -c 300000 /dev/urandom >"$app/media/clip.webm"
"$tool" export "$app" "$work/export" >/dev/null || { echo "FAIL the export"; exit 1; }

# The shared table: a path, and a Range value or "-".
cases=(
  "index.html -" "?v=2 -" "levels/ -" "levels/one.json?cachebust=7 -" "missing.png -" "levels -"
  "media/clip.webm bytes=100-199" "media/clip.webm bytes=-10" "media/clip.webm?t=1 bytes=299990-"
  "media/clip.webm bytes=999999-" "media/clip.webm bytes=0-"
)

server=""
start_server() {
  "$tool" serve "$1" >"$work/serve.txt" 2>&1 &
  server=$!
  port=""
  for _ in $(seq 100); do
    port=$(sed -n 's|^serving .* at http://127.0.0.1:\([0-9]*\)/ .*|\1|p' "$work/serve.txt")
    [ -n "$port" ] && break
    sleep 0.1
  done
}

# "<status line>\n<headers>\n\n<body>" as get prints it, from curl's answer.
served_answer() {
  local path=$1 range=$2 options=(-s -i)
  [ "$range" != - ] && options+=(-H "Range: $range")
  curl "${options[@]}" "http://127.0.0.1:$port/$path" | python3 -c '
import sys
data = sys.stdin.buffer.read()
head, _, body = data.partition(b"\r\n\r\n")
lines = [l for l in head.split(b"\r\n") if l.lower() != b"connection: close"]
lines[0] = lines[0].split(b" ", 1)[1]
sys.stdout.buffer.write(b"\n".join(lines) + b"\n\n" + body)'
}

got_answer() {
  local path=$1 range=$2 options=()
  [ "$range" != - ] && options+=(--range "$range")
  "$tool" get "$work/export" "$path" "${options[@]}"
}

compare_all() {
  local label=$1 line path range
  for line in "${cases[@]}"; do
    read -r path range <<<"$line"
    served_answer "$path" "$range" >"$work/served.bin"
    got_answer "$path" "$range" >"$work/got.bin"
    expect_eq "$label: /$path ($range) as get answers it" same "$(cmp -s "$work/served.bin" "$work/got.bin" && echo same || diff <(head -c 400 "$work/served.bin") <(head -c 400 "$work/got.bin") | head -5)"
  done
}

start_server "$work/export"
expect_eq "the server tells its address" yes "$([ -n "$port" ] && echo yes)"
compare_all "export folder"
expect_eq "a byte range reaches a real client" "200
HTTP/1.1 206 Partial Content" \
  "$(curl -s -r 100-299 "http://127.0.0.1:$port/media/clip.webm" | wc -c; curl -s -i -r 100-299 "http://127.0.0.1:$port/media/clip.webm" | head -n 1 | tr -d '\r')"
expect_eq "the isolation headers the app asked for" "Cross-Origin-Embedder-Policy: require-corp" \
  "$(curl -s -i "http://127.0.0.1:$port/" | tr -d '\r' | grep '^Cross-Origin-Embedder-Policy')"
exec 3<>"/dev/tcp/127.0.0.1/$port"
printf 'NOT A REQUEST\r\n\r\n' >&3
expect_eq "a head that is no request" "HTTP/1.1 400 Bad Request" "$(head -n 1 <&3 | tr -d '\r')"
exec 3<&-
expect_eq "listening on loopback only" "127.0.0.1:$port" "$(ss -Hltn "sport = :$port" | awk '{print $4}')"
for address in $(hostname -I 2>/dev/null); do
  [[ $address == *:* ]] && address="[$address]"
  expect_eq "no answer at $address" refused \
    "$(curl -s -o /dev/null --max-time 3 "http://$address:$port/" && echo answered || echo refused)"
done
kill -INT "$server"
wait "$server"
expect_eq "Ctrl-C stops it cleanly" "0 stopped" "$? $(tail -n 1 "$work/serve.txt")"

# The app folder itself is served as its export would be.
start_server "$app"
compare_all "app folder"
packed=$(ls -d /tmp/velmora-serve-* 2>/dev/null | wc -l)
kill -TERM "$server"
wait "$server"
expect_eq "the app's temporary bundle is removed at the end" "$((packed - 1))" "$(ls -d /tmp/velmora-serve-* 2>/dev/null | wc -l)"
server=""

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
