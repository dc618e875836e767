#!/usr/bin/env bash
# Starts the real program on a virtual display, waits for its window, saves a
# screenshot beside the test, closes the window as a user would and expects a
# clean exit. Run under xvfb-run; arguments: program, driver, screenshot path.
set -euo pipefail
program="$1"
driver="$2"
screenshot="$3"
caption=" Tesmera - demo"

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

"$driver" wait "$caption" 30
sleep 0.5
if command -v import >/dev/null 2>&1; then
  import -window root "$screenshot" || true
fi
"$driver" close "$caption"

for _ in $(seq 1 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "window closed, program exited cleanly"
    exit 0
  fi
  sleep 0.1
done
echo "program still running 10 s after its window was asked to close" >&2
exit 1
