#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# with_pulse_daemon.sh <command...>: runs the command against a PulseAudio
# daemon of its own, never the user's or a system service: a private runtime
# folder and home, a unix socket, and two null sinks. What is played into
# "tesmera_feed" comes out of the source "tesmera_in" (the default input);
# the default output "tesmera_out" is heard on its monitor. The daemon is
# stopped and its folder removed however the command ends. Works as root
# too (--system=no keeps it a per-user daemon).
set -euo pipefail

runtime="$(mktemp -d)"
socket="$runtime/native"
pulseaudio -n --daemonize=no --system=no --disallow-exit --exit-idle-time=-1 \
  --use-pid-file=no --disable-shm=yes -F /dev/null \
  --load="module-native-protocol-unix socket=$socket auth-anonymous=1" \
  --load="module-null-sink sink_name=tesmera_out" \
  --load="module-null-sink sink_name=tesmera_feed" \
  --load="module-virtual-source source_name=tesmera_in master=tesmera_feed.monitor" \
  >"$runtime/daemon.log" 2>&1 \
  </dev/null &
daemon=$!
stop_daemon() {
  kill "$daemon" 2>/dev/null || true
  wait "$daemon" 2>/dev/null || true
  rm -rf "$runtime"
}
trap stop_daemon EXIT

export HOME="$runtime" XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$runtime/config"
export PULSE_SERVER="unix:$socket"
for _ in $(seq 50); do
  pactl info >/dev/null 2>&1 && break
  sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
  echo "the test's PulseAudio daemon did not start:" >&2
  cat "$runtime/daemon.log" >&2
  exit 1
fi
pactl set-default-sink tesmera_out
pactl set-default-source tesmera_in
"$@"
