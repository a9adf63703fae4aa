#!/usr/bin/env bash
# The main job: the loopback server and the client, to log in as demo / demo.
#   bash tools/play.sh BUILD_DIR [TARNWICK-DEMO SWITCHES...]
# Starts tarnwick-server on 127.0.0.1:$TARNWICK_PORT (8787; 0 takes a free
# port) with its database in the user's data folder, the bot "Bot" and the
# demo seed, unless a server already answers there; then runs tarnwick
# against it. Without a display it runs tarnwick-demo --shots under xvfb-run
# instead, which logs in as demo through the page's login form, plays a turn
# against the bot until the bot's answer is back, and leaves a screenshot of
# each step in the folder it prints (further switches go to it, e.g.
# --new-games). Stops the server it started when the
# client ends, and exits with the client's code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/release}" && pwd)
shift $(($# > 0 ? 1 : 0))
port=${TARNWICK_PORT:-8787}
data=${XDG_DATA_HOME:-$HOME/.local/share}/tarnwick
mkdir -p "$data"

server_pid=
stop_server() {
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
}
trap stop_server EXIT

answers() {
  curl -s -o /dev/null --max-time 2 "http://127.0.0.1:$1/Version/getTarnwickVersions"
}

if [ "$port" != 0 ] && answers "$port"; then
  echo "a server already answers on port $port"
else
  log=$(mktemp "${TMPDIR:-/tmp}/tarnwick-server.XXXXXX")
  "$build/tools/tarnwick-server" --host 127.0.0.1 --port "$port" --db "$data/server.sqlite3" \
    --seed "$root/tools/server/demo-seed.xml" --bot Bot --root "$root" >"$log" 2>&1 &
  server_pid=$!
  # The server prints "port N" once it listens.
  for _ in $(seq 1 100); do
    listening=$(sed -n 's/^port \([0-9]*\)$/\1/p' "$log")
    [ -n "$listening" ] && break
    if ! kill -0 "$server_pid" 2>/dev/null; then
      cat "$log" >&2
      echo "tarnwick-server did not start" >&2
      exit 1
    fi
    sleep 0.1
  done
  if [ -z "${listening:-}" ]; then
    cat "$log" >&2
    echo "tarnwick-server did not report its port" >&2
    exit 1
  fi
  port=$listening
  echo "tarnwick-server on port $port (log $log)"
fi
export TARNWICK_SERVER_URL="http://127.0.0.1:$port/"

status=0
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  "$build/tools/tarnwick" --root "$root" || status=$?
else
  shots=${TARNWICK_SHOTS:-$(mktemp -d "${TMPDIR:-/tmp}/tarnwick-shots.XXXXXX")}
  echo "no display: playing a turn as demo headless; screenshots in $shots"
  xvfb-run -a -s "-screen 0 1600x1200x24" \
    "$build/tools/tarnwick-demo" --root "$root" --shots "$shots" "$@" || status=$?
  echo "screenshots in $shots"
fi
exit "$status"
