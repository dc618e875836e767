#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints the one table of ./scripts/bench from Google Benchmark JSON files.

Rows come from the benchmark names, so new cases need no change here:
  BM_<Method>Coefficients/<N>, BM_FourierApr/<N>  -> Fourier table, one row per N
  BM_AnalyzeProcess/<files>/<jobs>                -> batch table, one column per jobs
                                                     value (0: the program's default)
  BM_ExtractProcess                               -> recording rate
  anything else                                   -> one line: its name and CPU time
  BM_WindowCompute                                -> window compute line
"""
import json
import sys
from collections import defaultdict

FOURIER_COLUMNS = [
    ("BM_KernelCoefficients", "kernel"),
    ("BM_ReferenceCoefficients", "long double"),
    ("BM_FftLibraryCoefficients", "FFT library"),
    ("BM_FftLibraryNewLengthCoefficients", "FFT new N"),
    ("BM_FourierApr", "FourierApr"),
]


def load(paths):
    """One run per benchmark: the median where it was repeated, named without
    the aggregate's suffix."""
    runs = {}
    for path in paths:
        with open(path) as f:
            for run in json.load(f)["benchmarks"]:
                name = run.get("run_name", run["name"])
                if run.get("run_type") == "aggregate":
                    if run.get("aggregate_name") == "median":
                        runs[name] = dict(run, name=name)
                elif name not in runs or runs[name].get("run_type") != "aggregate":
                    runs[name] = run
    return list(runs.values())


def microseconds(run, clock="cpu_time"):
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[run["time_unit"]]
    return run[clock] * scale


def fourier_table(runs):
    times = defaultdict(dict)
    for run in runs:
        family, _, argument = run["name"].partition("/")
        if any(family == name for name, _ in FOURIER_COLUMNS):
            times[int(argument.split("/")[0])][family] = microseconds(run)
    if not times:
        return
    print("Fourier coefficients of harmonics 0..100, CPU microseconds per period")
    print("(FFT library: its plan for the length cached; FFT new N: the plan made afresh "
          "each time, as a batch of many lengths needs it; a process's first plan costs more)")
    header = f"{'N':>6}" + "".join(f"{title:>14}" for _, title in FOURIER_COLUMNS)
    print(header + f"{'kernel/FFT':>12}")
    for N in sorted(times):
        row = times[N]
        cells = "".join(f"{row[name]:>14.2f}" if name in row else f"{'-':>14}"
                        for name, _ in FOURIER_COLUMNS)
        ratio = (row["BM_KernelCoefficients"] / row["BM_FftLibraryCoefficients"]
                 if "BM_KernelCoefficients" in row and "BM_FftLibraryCoefficients" in row
                 else float("nan"))
        print(f"{N:>6}{cells}{ratio:>12.2f}")
    print()


def batch_table(runs):
    rates = defaultdict(dict)
    for run in runs:
        parts = run["name"].split("/")
        if parts[0] == "BM_AnalyzeProcess" and len(parts) >= 3:
            rates[int(parts[1])][int(parts[2])] = run.get("items_per_second", 0.0)
    if not rates:
        return
    jobs = sorted({j for row in rates.values() for j in row})
    title = lambda j: "default jobs" if j == 0 else f"--jobs {j}"
    print("tesmera-cli analyze --csv, files per second (wall clock, start-up included)")
    print(f"{'files':>8}" + "".join(f"{title(j):>16}" for j in jobs))
    for files in sorted(rates):
        print(f"{files:>8}" + "".join(f"{rates[files][j]:>16.0f}" if j in rates[files]
                                      else f"{'-':>16}" for j in jobs))
    print()


def recording_line(runs):
    for run in runs:
        if run["name"].startswith("BM_ExtractProcess"):
            seconds = run["real_time"] * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[
                run["time_unit"]]
            print(f"tesmera-cli extract, 60 s recording at 48 kHz: {seconds:.3f} s "
                  f"({run.get('audio_s_per_s', 0.0):.0f} s of audio per second)")


TABLED = tuple(name for name, _ in FOURIER_COLUMNS) + ("BM_AnalyzeProcess", "BM_ExtractProcess",
                                                          "BM_WindowCompute")


def other_lines(runs):
    others = [run for run in runs if not run["name"].split("/")[0] in TABLED]
    if not others:
        return
    print()
    # A benchmark timed in real time may run on several threads; the CPU
    # time Google Benchmark reports is then only the main thread's.
    print("Other benchmarks, milliseconds per run: CPU time, or wall clock for those "
          "ending in real_time")
    width = max(len(run["name"]) for run in others)
    for run in others:
        clock = "real_time" if run["name"].endswith("/real_time") else "cpu_time"
        print(f"{run['name']:<{width}}  {microseconds(run, clock) / 1e3:>10.3f}")


def window_line(runs):
    for run in runs:
        if run["name"].startswith("BM_WindowCompute"):
            print(f"window compute command, 10000-sample period, offscreen: "
                  f"{microseconds(run) / 1000:.3f} ms CPU (analysis, reports and repaint)")


def main():
    runs = load(sys.argv[1:])
    fourier_table(runs)
    batch_table(runs)
    recording_line(runs)
    window_line(runs)
    other_lines(runs)


if __name__ == "__main__":
    main()
