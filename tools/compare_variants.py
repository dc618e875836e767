#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How stable the report's grades are under everyday changes to a recording.

For each input recording, make_variants writes its eleven variants (gain,
rate, halves, trim, noise, hum, FLAC) to a temporary folder; the report of
the original and of each variant are made with `tesmera-cli report --json -`,
and per variant the six models' median grades are printed against the
original's ("3>2?" : the original's 3 became 2, and the variant's grade is
borderline), with how many changed, how many of those carry a borderline
flag (on either side) and the largest shift of a median raw value. Totals
per variant and over everything end the output.

Run from a build folder's tools, e.g.:

    ninja -C build tesmera-cli make_variants make_vowel
    build/tools/make_vowel /tmp/v/rough_g4.wav 44100 130 1.5 6 8 3
    tools/compare_variants.py --build build /tmp/v/*.wav

The exit status is 0, or 1 when a tool failed.
"""

import argparse
import json
import pathlib
import subprocess
import sys
import tempfile
from collections import defaultdict


def report(cli, path):
    """The report record of one recording: its status and its models."""
    output = subprocess.run([str(cli), "report", str(path), "--json", "-"],
                            capture_output=True, text=True, check=False)
    if output.returncode not in (0, 1):
        sys.exit(f"compare_variants: {cli} failed on {path}: {output.stderr.strip()}")
    return json.loads(output.stdout)[0]


def grades(record):
    """(model, score, borderline, median) of each model; empty without figures."""
    if record.get("status_code") != "ok":
        return []
    return [(m["model"], m["score"], m["borderline"], m["median_value"])
            for m in record["models"]]


def compare(original, variant):
    """The cells of one row, and how many grades were compared, changed and
    changed with a borderline flag, and the largest shift of a median."""
    before, after = grades(original), grades(variant)
    if not before or not after:
        return [variant.get("status", "?")], 0, 0, 0, 0.0
    cells, changed, borderline, shift = [], 0, 0, 0.0
    for (_, old, old_flag, old_median), (_, new, new_flag, new_median) in zip(before, after):
        flag = "?" if new_flag else ""
        cells.append(f"{old}{flag}" if old == new else f"{old}>{new}{flag}")
        shift = max(shift, abs(new_median - old_median))
        if old != new:
            changed += 1
            borderline += old_flag or new_flag
    return cells, len(cells), changed, borderline, shift


def compare_recording(tools, cli, recording, totals):
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([str(tools / "make_variants"), str(recording), folder], check=True)
        original = report(cli, recording)
        names = " ".join(f"{g[0]:>9}" for g in grades(original))
        print(f"{recording}\n  {'variant':<12} {names}  changed  borderline  median shift")
        print(f"  {'original':<12} " + " ".join(f"{c:>9}" for c in compare(original, original)[0]))
        for variant in sorted(pathlib.Path(folder).iterdir()):
            record = report(cli, next(variant.iterdir()))
            cells, *counts = compare(original, record)
            print(f"  {variant.name:<12} " + " ".join(f"{c:>9}" for c in cells) +
                  f"  {counts[1]:>7}  {counts[2]:>10}  {counts[3]:>12.3f}")
            total = totals[variant.name]
            totals[variant.name] = [t + c for t, c in zip(total[:3], counts[:3])] + [
                max(total[3], counts[3])]
        print()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/release",
                        help="build folder holding cli/tesmera-cli and tools/make_variants")
    parser.add_argument("recordings", nargs="+", type=pathlib.Path)
    arguments = parser.parse_args()
    build = pathlib.Path(arguments.build)
    # variant: grades compared, changed, changed borderline; largest median shift
    totals = defaultdict(lambda: [0, 0, 0, 0.0])
    try:
        for recording in arguments.recordings:
            compare_recording(build / "tools", build / "cli" / "tesmera-cli", recording, totals)
    except (OSError, subprocess.CalledProcessError) as error:
        sys.exit(f"compare_variants: {error}")
    print(f"totals over {len(arguments.recordings)} recordings")
    print(f"  {'variant':<12} {'grades':>6} {'changed':>8} {'borderline':>11} {'median shift':>13}")
    rows = sorted(totals.items())
    whole = [sum(t[i] for _, t in rows) for i in range(3)] + [max(t[3] for _, t in rows)]
    for name, (compared, changed, borderline, shift) in rows + [("all", whole)]:
        print(f"  {name:<12} {compared:>6} {changed:>8} {borderline:>11} {shift:>13.3f}")


if __name__ == "__main__":
    main()
