#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A clinician's way from a recording to a score report, on the real program:
# start it with a recording of a sustained vowel, press "Analyse in main
# window" in the recording window (Alt+A), then compute with F9, and find the
# score report written. Run under xvfb-run; arguments: program, driver,
# recording, screenshot path.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/window_session.sh"
readonly program="$1" driver="$2" recording="$3" screenshot="$4"
main_caption=" Tesmera - demo"

# The expert grade is the last character of the name before its first full
# stop, so the copy carries grade 2.
folder="$(mktemp -d)"
cp "$recording" "$folder/sustained_a_male2.wav"
recording_caption="Recording - sustained_a_male2.wav"

"$program" "$folder/sustained_a_male2.wav" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$folder"' EXIT

"$driver" wait "$main_caption" 30 >/dev/null
"$driver" wait "$recording_caption" 60 >/dev/null

# The score report (Memo4, at 6, 292, 195 x 117) is empty until a compute.
score_report=(6 292 195 117)
sleep 0.5
before=$("$driver" dark "$main_caption" "${score_report[@]}")
[ "$before" -lt 20 ] || { echo "score report not empty at start: $before dark pixels" >&2; exit 1; }

"$driver" keys "$recording_caption" alt+a
"$driver" keys "$main_caption" F9
sleep 1
after=$("$driver" dark "$main_caption" "${score_report[@]}")
save_screenshot "$screenshot"
if [ "$after" -lt 300 ]; then
  echo "score report still empty after Analyse and F9: $after dark pixels" >&2
  exit 1
fi
echo "score report written: $after dark pixels"

"$driver" close "$main_caption"
expect_clean_exit
