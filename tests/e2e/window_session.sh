# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Steps shared by the end-to-end scripts. Most expect the program running
# in the background with its process id in `pid` (start_in_empty_home).

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

# type_path CAPTION PATH: types the path into the window, then Return. The
# driver types a key at a time: lower-case letters, digits, "/" and ".".
type_path() {
  local keys=() c
  for ((i = 0; i < ${#2}; i++)); do
    c="${2:i:1}"
    case "$c" in
      /) keys+=(slash) ;;
      .) keys+=(period) ;;
      *) keys+=("$c") ;;
    esac
  done
  "$driver" keys "$1" "${keys[@]}" Return
}

# await_file PATH WHAT: waits up to 5 s for PATH to hold something; ends the
# script with "WHAT was not saved" when it does not.
await_file() {
  for _ in $(seq 1 50); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  echo "$2 was not saved" >&2
  exit 1
}

# start_in_empty_home PROGRAM: with HOME and the XDG folders in the empty
# folder $root/home (root set by the caller), starts PROGRAM's own window in
# the background, its process id in `pid`; on exit it is stopped and $root
# removed.
start_in_empty_home() {
  mkdir -p "$root/home"
  export HOME="$root/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache"
  export XDG_DATA_HOME="$HOME/.local/share" XDG_STATE_HOME="$HOME/.local/state"
  "$1" --new-window &
  pid=$!
  trap 'kill "$pid" 2>/dev/null || true; rm -rf "$root"' EXIT
}

# expect_home_untouched: once the program has ended (after up to 10 s, as
# it writes last on its way out), HOME holds nothing.
expect_home_untouched() {
  local written
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  written=$(find "$HOME" -mindepth 1)
  if [ -n "$written" ]; then
    echo "the window wrote into the home folder:" >&2
    echo "$written" >&2
    exit 1
  fi
}
