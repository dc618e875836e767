#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How far `tesmera-cli report` lies from Praat, as a table for a release note.

Usage: praat_crosscheck.py BUILD [FOLDER]
  BUILD   a build folder holding cli/tesmera-cli and tools/make_vowel
  FOLDER  the WAV files to check; without it, the cross-check set of the
          suite (make_vowel --crosscheck-set) is written to a temporary folder

Every file is reported once; Praat (tests/cli/praat/voice_measures.praat)
then measures the stretch the report chose. One row per file: its kind (the
name up to its first "-", as the set names its files), F0, jitter local,
local absolute, RAP and PPQ5 and shimmer local as ours over Praat's less
one, in %, HNR as ours less Praat's in dB, and the cycles analysed as a
share of the periods Praat marks over the voiced runs of the whole file.
Then, per kind and over all, the largest deviation of each measure (by
magnitude, sign kept) and the smallest cycle share. Files whose report is
not ok are listed with their status.
"""
import json
import subprocess
import sys
import tempfile
from pathlib import Path

SCRIPT = Path(__file__).resolve().parent.parent / "tests/cli/praat/voice_measures.praat"
# (column, our JSON key, position on Praat's line, Praat's value to ours' unit)
RELATIVE = [
    ("F0", "f0_mean_hz", 0, 1),
    ("jit", "jitter_local_pct", 1, 100),
    ("jitabs", "jitter_local_abs_us", 4, 1e6),
    ("RAP", "jitter_rap_pct", 5, 100),
    ("PPQ5", "jitter_ppq5_pct", 6, 100),
    ("shim", "shimmer_local_pct", 2, 100),
]
COLUMNS = [name for name, *_ in RELATIVE] + ["HNRdB", "cycles"]


def praat(path, start, end):
    line = subprocess.run(["praat", "--run", str(SCRIPT), str(path), str(start), str(end)],
                          check=True, capture_output=True, text=True).stdout
    return [float(value) for value in line.split()]


def deviations(record):
    peer = praat(record["path"], record["stretch_start_s"], record["stretch_end_s"])
    row = {}
    for name, key, index, scale in RELATIVE:
        reference = peer[index] * scale
        row[name] = 100 * (record[key] / reference - 1) if reference else float("nan")
    row["HNRdB"] = record["hnr_db"] - peer[3]
    row["cycles"] = record["cycles_analysed"] / peer[7] if peer[7] else float("nan")
    return row


def worst(rows):
    summary = {name: max((row[name] for row in rows), key=abs) for name in COLUMNS[:-1]}
    summary["cycles"] = min(row["cycles"] for row in rows)
    return summary


def print_row(kind, name, row):
    cells = " ".join(f"{row[column]:+8.2f}" for column in COLUMNS[:-1])
    print(f"{kind:<9} {name:<24} {cells} {row['cycles']:8.2f}")


def main(build, folder):
    report = subprocess.run([str(build / "cli/tesmera-cli"), "report", str(folder), "--json", "-"],
                            capture_output=True, text=True).stdout
    by_kind = {}
    print(f"{'kind':<9} {'file':<24} " + " ".join(f"{column:>8}" for column in COLUMNS))
    for record in json.loads(report):
        stem = Path(record["path"]).stem
        kind, _, name = stem.partition("-") if "-" in stem else ("other", "", stem)
        if record["status_code"] != "ok":
            print(f"{kind:<9} {name:<24} {record['status']}")
            continue
        row = deviations(record)
        by_kind.setdefault(kind, []).append(row)
        print_row(kind, name, row)
    print("largest deviations (sign kept), smallest cycle share:")
    for kind, rows in sorted(by_kind.items()):
        print_row(kind, "", worst(rows))
    print_row("all", "", worst([row for rows in by_kind.values() for row in rows]))


if __name__ == "__main__":
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    build = Path(sys.argv[1])
    if len(sys.argv) == 3:
        main(build, Path(sys.argv[2]))
    else:
        with tempfile.TemporaryDirectory() as temporary:
            subprocess.run([str(build / "tools/make_vowel"), "--crosscheck-set", temporary],
                           check=True)
            main(build, Path(temporary))
