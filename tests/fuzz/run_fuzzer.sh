#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# run_fuzzer.sh FUZZER SEEDS WORK SECONDS [libFuzzer options...]
# Runs one fuzz target for SECONDS on a working corpus grown from the seeds
# (the seeds in the repository are never written), and fails on any finding:
# libFuzzer exits non-zero and leaves the input as WORK/crash-* or similar.
set -euo pipefail
fuzzer="$1" seeds="$2" work="$3" seconds="$4"
shift 4
mkdir -p "$work/corpus" "$work/findings"
cp -n "$seeds"/* "$work/corpus/" 2>/dev/null || true
exec "$fuzzer" "$work/corpus" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
  -artifact_prefix="$work/findings/" -print_final_stats=1 "$@"
