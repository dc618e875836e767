#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs `tesmera-cli analyze --json` from two existing build folders over the
# same generated periods and compares the records (tools/compare_records.py):
# no status, order, score or displayed text may change, and every number must
# agree within 1e-12 relative. Builds nothing; the periods come from the
# candidate build's make_periods.
#
# Usage: tools/compare_within_rounding.sh <reference build> <candidate build> [count] [seed]
#   e.g. tools/compare_within_rounding.sh ../base/build/rel build/rel 20000
# With COMPARE_KEEP=<folder> the periods and both JSON files are kept there.
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 4 ]; then
  sed -n '2,10p' "$0" >&2
  exit 2
fi
reference="$1"
candidate="$2"
count="${3:-20000}"
seed="${4:-1}"
tools="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

for build in "$reference" "$candidate"; do
  [ -x "$build/cli/tesmera-cli" ] || { echo "error: no $build/cli/tesmera-cli" >&2; exit 2; }
done
[ -x "$candidate/tools/make_periods" ] || { echo "error: no $candidate/tools/make_periods" >&2; exit 2; }

if [ -n "${COMPARE_KEEP:-}" ]; then
  work="$COMPARE_KEEP"
  mkdir -p "$work"
else
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
fi
"$candidate/tools/make_periods" kernel "$work/periods" "$count" "$seed"

for side in reference candidate; do
  build="${!side}"
  start=$(date +%s%N)
  # Status 1 only says that some files got warnings, which the records hold.
  "$build/cli/tesmera-cli" analyze "$work/periods" --json "$work/$side.json" || [ $? -eq 1 ]
  end=$(date +%s%N)
  echo "$side: $(( (end - start) / 1000000 )) ms for $count files"
done
python3 "$tools/compare_records.py" "$work/reference.json" "$work/candidate.json"
