#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when a source includes a header from a folder its layer may not reach.

Every source under a layer folder (and under tests/<layer>/) is scanned for
`#include "folder/..."` lines. A layer may include its own folder and the
folders REACHES names for it; a test of a layer may in addition include the
shared test support (tests/support, included as "support/...") and the signal
generators in tools/, and another layer's test headers as "tests/<layer>/..."
when it may reach that layer.

Usage: check_layers.py <repository root>
"""
import pathlib
import re
import sys

# The one table of the layers (README, "Layout of the code"): each layer and
# the folders it may include besides its own.
REACHES = {
    "base": set(),
    "wave": {"base"},
    "analysis": {"base", "wave"},
    "recording": {"base", "wave", "analysis"},
    "chart": {"base", "wave", "analysis"},
    "report_page": {"base", "wave", "analysis", "recording", "config"},
    "app": {"base", "wave", "analysis", "recording", "chart", "report_page", "config"},
    "cli": {"base", "wave", "analysis", "recording", "chart", "report_page", "app", "config"},
}
# What tests reach beyond their layer.
TEST_EXTRAS = {"support", "tools"}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}


def included_folder(header):
    """The folder a quoted include names, or None for a header beside the file.

    "tests/<folder>/x.h" names <folder>, as "support/x.h" names support."""
    parts = header.split("/")
    if len(parts) < 2:
        return None
    if parts[0] == "tests" and len(parts) >= 3:
        return parts[1]
    return parts[0]


def violations(path, layer, reachable):
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        folder = included_folder(match.group(1))
        if folder is not None and folder != layer and folder not in reachable:
            yield number, match.group(1)


def scanned_folders(root):
    """(folder, layer, folders it may include) for every scanned folder."""
    for layer, reaches in REACHES.items():
        yield root / layer, layer, reaches
        yield root / "tests" / layer, layer, reaches | TEST_EXTRAS


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    root = pathlib.Path(argv[1])
    if not (root / "base").is_dir():
        print(f"{root} holds no layer folders", file=sys.stderr)
        return 2
    found = 0
    for folder, layer, reachable in scanned_folders(root):
        for path in sorted(folder.rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES:
                continue
            for number, header in violations(path, layer, reachable):
                allowed = ", ".join(sorted(reachable)) or "nothing of ours"
                print(f"{path.relative_to(root)}:{number}: includes \"{header}\", "
                      f"but {layer} may reach only {allowed}", file=sys.stderr)
                found += 1
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
