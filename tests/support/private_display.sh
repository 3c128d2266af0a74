#!/usr/bin/env bash
# Runs a command on an X display of its own and ends the display with it.
# The server picks a free display number itself (-displayfd), binding its
# socket before it reports the number: two tests started side by side can
# never pick the same number, as they can when each looks for a free lock
# file first and then starts a server on it.
# Usage: private_display.sh <command> [arguments...]
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: private_display.sh <command> [arguments...]" >&2; exit 2; }

dir=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ]; then
    kill -TERM "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

# -noreset: a server that starts over each time its last client leaves
# refused, now and then, a program started in that moment.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/server.log" &
server=$!

# The number arrives, newline-terminated, once the server accepts clients.
number=
for _ in $(seq 1 300); do
  if [ -s "$dir/display" ] && [ -z "$(tail -c 1 "$dir/display")" ]; then
    number=$(head -n1 "$dir/display")
    break
  fi
  if ! kill -0 "$server" 2>/dev/null; then
    echo "the private X display did not start:" >&2
    cat "$dir/server.log" >&2
    server=
    exit 1
  fi
  sleep 0.1
done
[[ "$number" =~ ^[0-9]+$ ]] || { echo "the private X display gave no number within 30 s" >&2; exit 1; }

# The display has no cookie of its own: a server started without -auth lets
# every local client in, so no authority file is handed on.
unset XAUTHORITY
rc=0
DISPLAY=":$number" "$@" || rc=$?
if ! kill -0 "$server" 2>/dev/null; then
  echo "the private X display :$number ended before the command did:" >&2
  cat "$dir/server.log" >&2
  server=
  [ "$rc" -ne 0 ] || rc=1
fi
exit "$rc"
