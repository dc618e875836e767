#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shows that two builds give the same bytes: tools/compare_builds.sh BASE NEW [count] [seed]
#
# BASE and NEW are build folders holding cli/tesmera-cli and cli/tesmera-render;
# NEW also holds tools/make_periods. Writes `count` (default 1200) one-period
# files with the fixed seed (default 1), then compares, build against build:
#   tesmera-cli analyze --json, --csv and its table over those files and the
#   bundled samples (with every exit status);
#   tesmera-cli render (the window's pixels) of each bundled sample and of
#   every 40th generated file.
# Prints what it compared; exits 0 when every byte agreed, 1 otherwise.
set -euo pipefail

if [[ $# -lt 2 || $# -gt 4 ]]; then
  echo "usage: $0 BASE_BUILD NEW_BUILD [count] [seed]" >&2
  exit 2
fi
base="$(cd "$1" && pwd)"
new="$(cd "$2" && pwd)"
count="${3:-1200}"
seed="${4:-1}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$new/tools/make_periods" varied "$work/periods" "$count" "$seed"
samples=("$root"/samples/*.wav)

differences=0
# same <what> <file in base output> <file in new output>
same() {
  if cmp -s "$2" "$3"; then
    return 0
  fi
  echo "DIFFERENT: $1" >&2
  differences=$((differences + 1))
}

# analyze <build> <output folder>: every format, with its exit status.
analyze() {
  local cli="$1/cli/tesmera-cli" out="$2"
  mkdir -p "$out"
  set +e
  "$cli" analyze --json "$out/all.json" "$work/periods" "${samples[@]}" >/dev/null 2>&1
  echo "json $?" >"$out/status"
  "$cli" analyze --csv "$out/all.csv" "$work/periods" "${samples[@]}" >/dev/null 2>&1
  echo "csv $?" >>"$out/status"
  "$cli" analyze "$work/periods" "${samples[@]}" >"$out/table.txt" 2>"$out/table.err"
  echo "table $?" >>"$out/status"
  set -e
}

analyze "$base" "$work/base"
analyze "$new" "$work/new"
for file in all.json all.csv table.txt table.err status; do
  same "analyze $file" "$work/base/$file" "$work/new/$file"
done

rendered=()
for file in "${samples[@]}"; do rendered+=("$file"); done
mapfile -t generated < <(find "$work/periods" -type f | LC_ALL=C sort | awk 'NR % 40 == 1')
rendered+=("${generated[@]}")
for file in "${rendered[@]}"; do
  name="$(basename "$file")"
  set +e
  "$base/cli/tesmera-cli" render --png "$work/base/$name.png" "$file" >"$work/base/$name.out" 2>&1
  baseStatus=$?
  "$new/cli/tesmera-cli" render --png "$work/new/$name.png" "$file" >"$work/new/$name.out" 2>&1
  newStatus=$?
  set -e
  if [[ $baseStatus -ne $newStatus ]]; then
    echo "DIFFERENT: render status of $name ($baseStatus, $newStatus)" >&2
    differences=$((differences + 1))
  fi
  same "render output of $name" "$work/base/$name.out" "$work/new/$name.out"
  if [[ -e "$work/base/$name.png" || -e "$work/new/$name.png" ]]; then
    same "render picture of $name" "$work/base/$name.png" "$work/new/$name.png"
  fi
done

records="$(grep -o '"path":' "$work/new/all.json" | wc -l)"
echo "analyze: $count generated files and ${#samples[@]} bundled samples ($records records);" \
  "JSON $(wc -c <"$work/new/all.json") bytes, CSV $(wc -c <"$work/new/all.csv") bytes," \
  "table $(wc -c <"$work/new/table.txt") bytes; statuses: $(tr '\n' ' ' <"$work/new/status")"
echo "render: ${#rendered[@]} pictures (${#samples[@]} bundled, ${#generated[@]} generated)"
if [[ $differences -ne 0 ]]; then
  echo "$differences differences" >&2
  exit 1
fi
echo "identical"
