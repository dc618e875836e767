#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The recorder keeps nothing of a session either: with HOME and the XDG
# folders in an empty folder, a take is recorded (a recording played into
# the test daemon's input), opened, and saved through the save dialog, and
# afterwards the folder is still empty (the take goes elsewhere). Run under
# xvfb-run and with_pulse_daemon.sh; arguments: program, driver, recording.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/window_session.sh"
readonly program="$1" driver="$2" recording="$3"
main_caption=" Tesmera - demo"

# Short names the driver can type (see type_path).
root="/tmp/trn$$"
# The tools that feed the daemon are no part of the window: they keep
# their own files (libpulse's cookie) in the daemon's home.
readonly daemon_home="$HOME"
mkdir -p "$root/f"
start_in_empty_home "$program"

"$driver" wait "$main_caption" 30 >/dev/null
"$driver" keys "$main_caption" ctrl+r
"$driver" wait "Record" 30 >/dev/null
"$driver" keys "Record" space
sleep 0.5
HOME="$daemon_home" XDG_CONFIG_HOME="$daemon_home/config" \
  paplay --device=tesmera_feed "$recording"
"$driver" keys "Record" space
"$driver" wait "Recording - New take" 60 >/dev/null

"$driver" keys "Recording - New take" alt+k
"$driver" wait "Save Take As" 30 >/dev/null
type_path "Save Take As" "$root/f/t.wav"
await_file "$root/f/t.wav" "the take"
"$driver" wait "Recording - t.wav" 30 >/dev/null

"$driver" close "Recording - t.wav"
"$driver" close "$main_caption"
expect_home_untouched
echo "nothing written outside the saved take"
