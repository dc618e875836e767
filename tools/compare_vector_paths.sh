#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shows that every processor version of the Fourier sums gives the same bytes:
# tools/compare_vector_paths.sh BUILD [count]
#
# BUILD holds cli/tesmera-cli, cli/tesmera-render, tools/make_periods and
# tools/make_vowel. Runs, once per version this processor has (read from
# /proc/cpuinfo) through TESMERA_VECTOR_PATH:
#   tesmera-cli analyze --json and its table over `count` (default 1000)
#   generated one-period files and the bundled samples;
#   tesmera-cli report --json and its table over three generated vowels;
#   tesmera-cli render (the window's pixels) of every bundled sample;
# and compares each version's bytes with the baseline version's.
# Prints what it compared; exits 0 when every byte agreed, 1 otherwise.
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 ]]; then
  echo "usage: $0 BUILD [count]" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
count="${2:-1000}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cli="$build/cli/tesmera-cli"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/tools/make_periods" varied "$work/periods" "$count" 3
mkdir -p "$work/vowels"
"$build/tools/make_vowel" "$work/vowels/low_g2.wav" 44100 98 0.6 3 20 1.5 1 >/dev/null
"$build/tools/make_vowel" "$work/vowels/rough_g4.wav" 48000 130 1.5 6 8 1.5 2 >/dev/null
"$build/tools/make_vowel" "$work/vowels/high_g1.wav" 22050 290 0.3 1 30 1.5 3 >/dev/null
samples=("$root"/samples/*.wav)

flags="$(grep -m1 '^flags' /proc/cpuinfo)"
has() { [[ " $flags " == *" $1 "* ]]; }
paths=(baseline)
if has avx2; then
  paths+=(avx2)
  if has avx512f && has avx512vl; then
    paths+=(avx512)
  fi
fi

# outputs <version> <folder>: every output of that version, exit statuses
# included.
outputs() {
  local out="$2"
  mkdir -p "$out"
  export TESMERA_VECTOR_PATH="$1"
  set +e
  "$cli" analyze --json "$out/analyze.json" "$work/periods" "${samples[@]}" >"$out/analyze.txt" 2>&1
  echo "analyze $?" >"$out/status"
  "$cli" report --json "$out/report.json" "$work/vowels" >"$out/report.txt" 2>&1
  echo "report $?" >>"$out/status"
  for file in "${samples[@]}"; do
    "$cli" render --png "$out/$(basename "$file").png" "$file" >>"$out/render.txt" 2>&1
    echo "render $?" >>"$out/status"
  done
  set -e
  unset TESMERA_VECTOR_PATH
}

differences=0
outputs baseline "$work/baseline"
for path in "${paths[@]:1}"; do
  outputs "$path" "$work/$path"
  for file in "$work/baseline"/*; do
    name="$(basename "$file")"
    if ! cmp -s "$file" "$work/$path/$name"; then
      echo "DIFFERENT: $name under $path" >&2
      differences=$((differences + 1))
    fi
  done
done

echo "versions: ${paths[*]}; analyze: $count generated files and ${#samples[@]} bundled samples;" \
  "report: 3 generated vowels; render: ${#samples[@]} pictures;" \
  "statuses: $(sort "$work/baseline/status" | uniq -c | tr -s ' \n' ' ')"
if [[ ${#paths[@]} -eq 1 ]]; then
  echo "this processor runs the baseline version only: nothing to compare"
fi
if [[ $differences -ne 0 ]]; then
  echo "$differences differences" >&2
  exit 1
fi
echo "identical"
