# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Steps shared by the end-to-end scripts, sourced after the program was
# started in the background with its process id in `pid`.

# save_screenshot PATH: the whole virtual screen, when ImageMagick is there.
save_screenshot() {
  if command -v import >/dev/null 2>&1; then
    import -window root "$1" || true
  fi
}

# expect_clean_exit [MESSAGE]: after the window was asked to close, waits up
# to 10 s for the program to end; ends the script with the program's status
# (printing MESSAGE when it is 0), or with 1 when it keeps running.
expect_clean_exit() {
  for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      [ -z "${1:-}" ] || echo "$1"
      exit 0
    fi
    sleep 0.1
  done
  echo "program still running 10 s after its window was asked to close" >&2
  exit 1
}
