#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program with a file name, as a file manager does through
# the desktop entry, and expects the window to load it at once: a name that
# does not exist brings up the load's error box (captioned with the
# application title) without any click. Closes the box and the window and
# expects a clean exit. Run under xvfb-run; arguments: program, driver.
set -euo pipefail
program="$1"
driver="$2"
missing="$(mktemp -u /tmp/tesmera_no_such_XXXXXX.wav)"

"$program" "$missing" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

"$driver" wait " Tesmera - demo" 30
"$driver" wait "Tesmera" 30
"$driver" close "Tesmera"
sleep 0.5
"$driver" close " Tesmera - demo"

for _ in $(seq 1 100); do
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"
    echo "the named file was loaded at start, program exited cleanly"
    exit 0
  fi
  sleep 0.1
done
echo "program still running 10 s after its window was asked to close" >&2
exit 1
