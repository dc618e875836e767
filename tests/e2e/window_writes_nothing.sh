#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window keeps nothing of a session: with HOME and the XDG folders in an
# empty folder, a period is loaded and a recording opened through their file
# dialogs, a cycle is saved through the save dialog, and afterwards the
# folder is still empty (the saved period goes elsewhere). Run under
# xvfb-run; arguments: program, driver, period file, recording.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/window_session.sh"
readonly program="$1" driver="$2" period="$3" recording="$4"
main_caption=" Tesmera - demo"

# Short names the driver can type (see type_path).
root="/tmp/twn$$"
mkdir -p "$root/f"
cp "$period" "$root/f/v3.wav"
cp "$recording" "$root/f/anna3.wav"
start_in_empty_home "$program"

"$driver" wait "$main_caption" 30 >/dev/null
"$driver" keys "$main_caption" ctrl+o
"$driver" wait "Open" 30 >/dev/null
type_path "Open" "$root/f/v3.wav"
sleep 1

"$driver" keys "$main_caption" ctrl+shift+o
"$driver" wait "Open a Recording" 30 >/dev/null
type_path "Open a Recording" "$root/f/anna3.wav"
"$driver" wait "Recording - anna3.wav" 60 >/dev/null

"$driver" keys "Recording - anna3.wav" alt+s
"$driver" wait "Save Period As" 30 >/dev/null
type_path "Save Period As" "$root/f/c.wav"
await_file "$root/f/c.wav" "the period"

"$driver" close "Recording - anna3.wav"
"$driver" close "$main_caption"
expect_home_untouched
echo "nothing written outside the saved period"
