#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program with a file name, as a file manager does through
# the desktop entry, and expects the window to load it at once: a name that
# does not exist brings up the load's error box (captioned with the
# application title) without any click. Closes the box and the window and
# expects a clean exit. Run under xvfb-run; arguments: program, driver.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/window_session.sh"
readonly program="$1" driver="$2"
missing="$(mktemp -u /tmp/tesmera_no_such_XXXXXX.wav)"

"$program" "$missing" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

"$driver" wait " Tesmera - demo" 30
"$driver" wait "Tesmera" 30
"$driver" close "Tesmera"
sleep 0.5
"$driver" close " Tesmera - demo"

expect_clean_exit "the named file was loaded at start, program exited cleanly"
