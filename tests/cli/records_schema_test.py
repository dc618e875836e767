#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The batch outputs as a research pipeline reads them.

Runs `analyze` and `report` over the bundled samples and one missing input,
then checks: every CSV column is documented in docs/outputs.md, and each
cell, read with the csv module, has the documented type (empty where the
value does not exist); the --json array and the --json-lines records are
the same records and satisfy docs/tesmera-records.schema.json, as does what
`agreement --from-report` makes of the report.

Usage: records_schema_test.py <tesmera-cli> <source folder>
"""
import csv
import json
import pathlib
import re
import subprocess
import sys
import tempfile

import jsonschema

INTEGER = re.compile(r"-?[0-9]+")
# A number never looks like an integer, so a reader guessing a column's type
# from its cells (pandas) takes real numbers as such, integers as integers.
CHECKS = {
    "text": lambda cell: True,
    "integer": lambda cell: INTEGER.fullmatch(cell) is not None,
    "number": lambda cell: INTEGER.fullmatch(cell) is None and float(cell) == float(cell),
    "boolean": lambda cell: cell in ("true", "false"),
}


def documented_types(outputs_md):
    """Column name pattern -> type, from the tables of docs/outputs.md."""
    types = {}
    for line in outputs_md.read_text(encoding="utf-8").splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) == 4 and cells[1] in CHECKS:
            pattern = re.escape(cells[0]).replace(re.escape("<id>"), "[0-9]+")
            pattern = re.sub(r"\\<[a-z]+\\>|<[a-z]+>", "[0-9]+", pattern)
            types[re.compile(pattern + "$")] = cells[1]
    return types


def type_of(column, types):
    for pattern, kind in types.items():
        if pattern.match(column):
            return kind
    raise AssertionError(f"column {column!r} is not documented in docs/outputs.md")


def check_csv(path, types):
    with open(path, newline="", encoding="utf-8", errors="surrogateescape") as f:
        rows = list(csv.DictReader(f))
    assert len(rows) >= 2, f"{path}: expected a record per input"
    for row in rows:
        for column, cell in row.items():
            kind = type_of(column, types)
            if cell != "":
                assert CHECKS[kind](cell), f"{path}: {column}={cell!r} is not {kind}"
    failed = [row for row in rows if row["status_code"] != "ok"]
    assert failed, f"{path}: expected the missing input's record"
    for column in ("sample_rate_hz", "channels", "duration_s"):
        assert failed[0][column] == "", f"{path}: {column} of a missing input is not empty"


def check_json(array_path, lines_path, schema, definition):
    validator = jsonschema.Draft202012Validator(
        {"$ref": f"#/$defs/{definition}", "$defs": schema["$defs"]})
    records = json.loads(pathlib.Path(array_path).read_text(encoding="utf-8"))
    lines = [json.loads(line) for line in
             pathlib.Path(lines_path).read_text(encoding="utf-8").splitlines()]
    assert records == lines, f"{lines_path}: not the records of {array_path}"
    for record in records:
        validator.validate(record)


def run(program, command, out, inputs):
    outputs = {kind: str(out / f"{command}.{kind}") for kind in ("csv", "json", "jsonl")}
    status = subprocess.run(
        [program, command, "--quiet", "--csv", outputs["csv"], "--json", outputs["json"],
         "--json-lines", outputs["jsonl"], *inputs], check=False).returncode
    assert status == 1, f"{command}: exit status {status}, expected 1 for the missing input"
    return outputs


def main():
    program, source = sys.argv[1], pathlib.Path(sys.argv[2])
    schema = json.loads((source / "docs/tesmera-records.schema.json").read_text())
    jsonschema.Draft202012Validator.check_schema(schema)
    types = documented_types(source / "docs/outputs.md")
    samples = source / "samples"
    with tempfile.TemporaryDirectory() as folder:
        out = pathlib.Path(folder)
        missing = str(out / "missing_3.wav")
        for command, inputs, definition in (
                ("analyze", [*map(str, sorted(samples.glob("*.wav"))), missing], "analysis_record"),
                ("report", [str(samples / "recordings"), missing], "report_record")):
            outputs = run(program, command, out, inputs)
            check_csv(outputs["csv"], types)
            check_json(outputs["json"], outputs["jsonl"], schema, definition)
        # agreement reads the report's records back and writes its own figures.
        figures = out / "agreement.json"
        subprocess.run([program, "agreement", "--from-report", str(out / "report.json"),
                        "--json", str(figures)], check=False, stdout=subprocess.DEVNULL)
        jsonschema.Draft202012Validator(
            {"$ref": "#/$defs/agreement", "$defs": schema["$defs"]}).validate(
                json.loads(figures.read_text(encoding="utf-8")))
    print("records match docs/outputs.md and the schema")


if __name__ == "__main__":
    main()
