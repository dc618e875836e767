#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the AppStream screenshots from the real program on a virtual display:
# a bundled period loaded and computed in the main window, and the bundled
# recording in the recording window. Needs ImageMagick's `import`.
#   xvfb-run -a -s "-screen 0 1280x1024x24" packaging/screenshots/make_screenshots.sh BUILD
# BUILD: a build folder holding app/tesmera and tests/e2e/x11_window_driver.
set -euo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
samples="$here/../../samples"
driver="$build/tests/e2e/x11_window_driver"
main_caption=" Tesmera - demo"

# run_window <file>: starts the program on the file; its id is in `pid`.
run_window() {
  QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 "$build/app/tesmera" "$1" &
  pid=$!
  "$driver" wait "$main_caption" 30 >/dev/null
}

# shoot <caption> <picture>: that window alone, once it has drawn.
shoot() {
  sleep 1
  import -window "$1" "$here/$2"
}

run_window "$samples/vowel_a_female3.wav"
trap 'kill "$pid" 2>/dev/null || true' EXIT
"$driver" keys "$main_caption" F9
shoot "$main_caption" main-window.png
"$driver" close "$main_caption"
wait "$pid"

run_window "$samples/recordings/sustained_a_male.wav"
recording_caption="Recording - sustained_a_male.wav"
"$driver" wait "$recording_caption" 60 >/dev/null
shoot "$recording_caption" recording-window.png
"$driver" close "$main_caption"
wait "$pid"
