#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual display, waits for its window, saves a
# screenshot beside the test, closes the window as a user would and expects a
# clean exit. Run under xvfb-run; arguments: program, driver, screenshot path.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/window_session.sh"
readonly program="$1" driver="$2" screenshot="$3"
caption=" Tesmera - demo"

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

"$driver" wait "$caption" 30
sleep 0.5
save_screenshot "$screenshot"
"$driver" close "$caption"

expect_clean_exit "window closed, program exited cleanly"
