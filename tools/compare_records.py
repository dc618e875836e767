#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Compares two `tesmera-cli analyze --json` outputs record by record.

Texts, statuses, integers (orders, scores, grades) and every displayed text
must be identical. Numbers are printed to round-trip, so their last digits
may move: each must agree within 1e-12 relative to the larger of its own
magnitude and the scale its rounding error comes from: the peak sample
magnitude for coefficients and amplitudes; that over the amplitude norm for
normalised amplitudes; for score values, which add weights (all below 5)
times logarithms of normalised amplitudes, 5 times the sum of the latter
scale over each normalised amplitude.

A period whose scored harmonics (1..6, or all of 1..15 that make the norm)
hold no energy beyond rounding residue (an amplitude below 1e-9 of the peak
sample: a pure tone, say) has normalised amplitudes and scores made of that
residue, and whether such a harmonic comes out as exactly 0 (the window's
"AA[i] = 0" warning) is itself a matter of rounding: any change in rounding
changes them. Such records are counted and listed apart, not failed; all
their other fields are compared as usual.

Usage: compare_records.py <reference.json> <candidate.json>
Exit status 0 when everything agrees, 1 otherwise.
"""
import json
import sys
from decimal import ROUND_HALF_UP, Decimal

TOLERANCE = 1e-12
RESIDUE = 1e-9  # amplitude norm over peak below which scores are rounding residue
WEIGHT_BOUND = 5.0  # every score model weight is smaller in magnitude
COEFFICIENT_FIELDS = ("ax", "bx", "aa", "amplitude_norm")
SHOWN_DECIMALS = {"ax": 1, "bx": 1, "aa": 1}  # the coefficient table
SCORE_DECIMALS = 4  # the score report


def shown(value, decimals):
    """The value as the window writes it: its 18-digit form rounded half away."""
    digits = Decimal(format(value, ".17e"))
    rounded = digits.quantize(Decimal(1).scaleb(-decimals), rounding=ROUND_HALF_UP)
    # No minus sign on a value that rounds to zero.
    return str(abs(rounded) if rounded == 0 else rounded)


def scale_of(name, record):
    peak = record.get("max_abs") or 0.0
    norm = record.get("amplitude_norm") or 0.0
    if name in COEFFICIENT_FIELDS:
        return peak
    normalised = peak / norm if norm else 0.0
    if name == "aa_norm":
        return normalised
    if name.endswith("_score_value"):
        return WEIGHT_BOUND * sum(normalised / a for a in record.get("aa_norm") or [] if a)
    return 0.0


def residue_only(record):
    peak = record.get("max_abs") or 0.0
    norm = record.get("amplitude_norm")
    if norm is None or peak <= 0:
        return False
    if norm < RESIDUE * peak:
        return True
    return any(a * norm < RESIDUE * peak for a in record.get("aa_norm") or [])


SCORED_FIELDS = ("status", "aa_norm", "model_")


def is_measure(name, value):
    """A real number (which JSON may print without a fraction); counts,
    orders, scores and grades are integers that must stay exactly as they are."""
    counted = name in ("sample_count", "approx_order", "expert_grade", "sample_rate_hz",
                       "channels") or name.endswith("_score")
    return (not counted and isinstance(value, (int, float))
            and not isinstance(value, bool))


class Report:
    def __init__(self):
        self.failures = []
        self.numbers = 0
        self.worst = 0.0  # largest deviation relative to the value itself
        self.worst_scaled = 0.0  # largest deviation relative to its scale
        self.residue = []  # (path, scored fields that changed) of residue-only records

    def fail(self, path, text):
        self.failures.append(f"{path}: {text}")

    def number(self, path, name, old, new, scale):
        self.numbers += 1
        if old == new:
            return
        difference = abs(old - new)
        magnitude = max(abs(old), abs(new))
        if magnitude:
            self.worst = max(self.worst, difference / magnitude)
        bound = max(magnitude, scale)
        self.worst_scaled = max(self.worst_scaled, difference / bound)
        if difference > TOLERANCE * bound:
            self.fail(path, f"{name} {old!r} -> {new!r}")
        decimals = SHOWN_DECIMALS.get(name.rstrip("[]0123456789"),
                                      SCORE_DECIMALS if name.endswith("_score_value") else None)
        if decimals is not None and shown(old, decimals) != shown(new, decimals):
            self.fail(path, f"{name} shown as {shown(old, decimals)} -> {shown(new, decimals)}")


def flattened(record):
    """The record with each model's figures as fields of their own, named
    as the CSV names them (model_10_score_value, model_10_score)."""
    flat = {name: value for name, value in record.items() if name != "models"}
    for model in record.get("models") or []:
        for name, value in model.items():
            if name != "model":
                flat[f"model_{model['model']}_{name}"] = value
    return flat


def compare(old, new, report):
    old, new = flattened(old), flattened(new)
    path = old.get("path")
    if set(old) != set(new):
        report.fail(path, "different fields")
        return
    residue = residue_only(old) or residue_only(new)
    if residue:
        changed = [n for n in old if n.startswith(SCORED_FIELDS) and old[n] != new[n]]
        report.residue.append((path, changed))
    for name, value in old.items():
        if residue and name.startswith(SCORED_FIELDS):
            continue
        other = new[name]
        if isinstance(value, list):
            if other is None or len(value) != len(other):
                report.fail(path, f"{name} differs in presence or length")
                continue
            for index, (a, b) in enumerate(zip(value, other)):
                report.number(path, f"{name}[{index}]", a, b, scale_of(name, old))
        elif is_measure(name, value) and is_measure(name, other):
            report.number(path, name, float(value), float(other), scale_of(name, old))
        elif value != other:
            report.fail(path, f"{name} {value!r} -> {other!r}")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1]) as f:
        reference = json.load(f)
    with open(sys.argv[2]) as f:
        candidate = json.load(f)
    report = Report()
    if len(reference) != len(candidate):
        report.fail("-", f"{len(reference)} records -> {len(candidate)}")
    for old, new in zip(reference, candidate):
        if old.get("path") != new.get("path"):
            report.fail(old.get("path"), f"paired with {new.get('path')}")
            continue
        compare(old, new, report)
    orders = sum(1 for r in reference if r.get("approx_order") is not None)
    print(f"records: {len(reference)}, analysed: {orders}, numbers compared: {report.numbers}")
    print(f"largest deviation relative to the value: {report.worst:.3g}")
    print(f"largest deviation relative to its scale: {report.worst_scaled:.3g} "
          f"(limit {TOLERANCE:g})")
    scores_moved = [(p, c) for p, c in report.residue if any(
        n.endswith("_score") for n in c)]
    status_moved = [p for p, c in report.residue if "status" in c]
    print(f"records whose scored harmonics are rounding residue: {len(report.residue)}; "
          f"scores changed in {len(scores_moved)}, status in {len(status_moved)}")
    for path, changed in scores_moved[:10]:
        print("RESIDUE", path,
              " ".join(n for n in changed if not n.startswith(("aa_norm", "model_"))))
    for line in report.failures[:50]:
        print("DIFFERS", line)
    print(f"differences: {len(report.failures)}")
    sys.exit(1 if report.failures else 0)


if __name__ == "__main__":
    main()
