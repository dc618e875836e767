#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""`tesmera-cli report --pdf` as a reader checks the page against the record.

Writes a generated sustained vowel (44100 Hz, F0 130 Hz, jitter 1.5 %,
shimmer 6 %, HNR 18 dB, 2 s), reports it with --json and --pdf, then
checks with poppler: the PDF is one A4 page, and every figure of the JSON
record is on it, rounded as the report table rounds it, with the patient's
details. A batch and a page on standard output are refused before anything
is written, the patient's details need --pdf, and a missing recording gets
no page.

Usage: report_page_test.py <tesmera-cli> <make_vowel>
"""
import json
import pathlib
import subprocess
import sys
import tempfile

# Record key -> decimals on the page (as in the report table).
FIGURE_DECIMALS = {
    "duration_s": 2,
    "stretch_start_s": 3,
    "stretch_end_s": 3,
    "f0_mean_hz": 2,
    "f0_sd_hz": 2,
    "jitter_local_pct": 3,
    "jitter_local_abs_us": 1,
    "jitter_rap_pct": 3,
    "jitter_ppq5_pct": 3,
    "shimmer_local_pct": 3,
    "shimmer_local_db": 3,
    "shimmer_apq3_pct": 3,
    "shimmer_apq5_pct": 3,
    "hnr_db": 2,
    "cpps_db": 2,
}
PATIENT = ["--patient", "P-0042", "--born", "1970-05-31", "--date", "2026-12-08"]


def run(command):
    return subprocess.run(command, capture_output=True, text=True, check=False)


def expected_texts(record):
    """What the page must show of `record`."""
    texts = {key: f"{record[key]:.{digits}f}" for key, digits in FIGURE_DECIMALS.items()}
    texts["sample_rate_hz"] = f"{record['sample_rate_hz']} Hz"
    texts["cycles"] = f"{record['cycles_analysed']} of {record['cycles_marked']} cycles analysed"
    texts["quality"] = record["quality"]
    for model in record["models"]:
        borderline = "?" if model["borderline"] else ""
        texts[f"model {model['model']}"] = (
            f"SCORE({model['model']}) {model['median_value']:.3f} {model['score']}{borderline}")
    for value in PATIENT[1::2]:
        texts[value] = value
    texts["version"] = f"Tesmera {record['tesmera_version']}"
    return texts


def check_page(cli, vowel, folder):
    pdf = folder / "page.pdf"
    report = run([cli, "report", "--quiet", "--json", str(folder / "r.json"), "--pdf", str(pdf),
                  *PATIENT, str(vowel)])
    failures = [] if report.returncode == 0 else [f"report exited {report.returncode}: "
                                                  f"{report.stderr}"]
    record = json.loads((folder / "r.json").read_text())[0]
    text = " ".join(run(["pdftotext", "-raw", str(pdf), "-"]).stdout.split())
    for name, expected in expected_texts(record).items():
        if expected not in text:
            failures.append(f"{name}: {expected!r} is not on the page")
    info = run(["pdfinfo", str(pdf)]).stdout
    if "Pages:           1\n" not in info or "595 x 842 pts (A4)" not in info:
        failures.append(f"not one A4 page:\n{info}")
    if failures:
        failures.append(f"the page's text: {text}")
    return failures


def check_refusals(cli, vowel, folder):
    failures = []
    pdf = folder / "refused.pdf"
    for arguments, why in [
        ([str(vowel), str(vowel), "--pdf", str(pdf)], "a batch"),
        ([str(vowel), "--pdf", "-"], "standard output"),
        ([str(vowel), "--patient", "P-1"], "--patient without --pdf"),
    ]:
        refused = run([cli, "report", "--quiet", *arguments])
        if refused.returncode != 64 or pdf.exists():
            failures.append(f"{why}: exit {refused.returncode}, {refused.stderr!r}")
    missing = run([cli, "report", "--quiet", str(folder / "missing.wav"), "--pdf", str(pdf)])
    if missing.returncode != 2 or pdf.exists():
        failures.append(f"a missing recording: exit {missing.returncode}, {missing.stderr!r}")
    return failures


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    cli, make_vowel = argv[1], argv[2]
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        vowel = folder / "vowel.wav"
        subprocess.run([make_vowel, str(vowel), "44100", "130", "1.5", "6", "18", "2"],
                       check=True, capture_output=True)
        failures = check_page(cli, vowel, folder) + check_refusals(cli, vowel, folder)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
