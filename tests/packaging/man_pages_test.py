#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The installed man pages: groff and man find nothing to warn of, every
rendered line fits 80 columns, the sections a reader looks for are there,
and each page names every option the program's --help lists, tesmera-cli's
under the section of its subcommand.

Arguments: the folder of the built pages, tesmera-cli, tesmera."""
import os
import re
import subprocess
import sys
from pathlib import Path

Width = 80
# How lintian renders a page to look for warnings.
ManEnvironment = dict(os.environ, LC_ALL="C.UTF-8", MANROFFSEQ="", MANWIDTH=str(Width))
CliSections = ["NAME", "SYNOPSIS", "DESCRIPTION", "EXAMPLES", "EXIT STATUS", "FILES", "SEE ALSO"]
WindowSections = ["NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "MAIN WINDOW", "RECORDING WINDOW",
                  "KEYBOARD SHORTCUTS", "FILES", "SEE ALSO"]

failures = []


def run(*command):
    result = subprocess.run(command, capture_output=True, text=True, env=ManEnvironment)
    return result.stdout, result.stderr


def rendered(page):
    """The page as text, after failing on any warning of groff or man."""
    _, warnings = run("man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", str(page))
    if warnings:
        failures.append(f"{page.name}: warnings:\n{warnings}")
    text, errors = run("man", "-E", "UTF-8", "-l", str(page))
    if errors or not text:
        failures.append(f"{page.name}: not rendered: {errors}")
    for number, line in enumerate(text.splitlines(), 1):
        if len(line) > Width:
            failures.append(f"{page.name}:{number}: {len(line)} columns: {line}")
    return text


def sections(text):
    """Heading -> body; a heading is a line that starts in the first column,
    the header and footer lines aside."""
    found, heading = {}, None
    lines = text.splitlines()
    for line in lines[1:-1]:
        if line and not line[0].isspace():
            heading = line.strip()
            found[heading] = ""
        elif heading:
            found[heading] += line + "\n"
    return found


def long_options(help_text):
    """The long options of the OPTIONS part of a --help text."""
    options = re.split(r"^options:", help_text, 1, re.I | re.M)[-1].split("\n\n", 1)[0]
    return set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", options))


def check_sections(page, found, wanted):
    for heading in wanted:
        if heading not in found:
            failures.append(f"{page}: no section {heading} (has {', '.join(found)})")


def check_options(page, section, body, options):
    for option in sorted(options):
        # Rendered pages hyphenate nothing in an option, but may break a line
        # after it.
        if not re.search(rf"(?<![\w-]){re.escape(option)}(?![\w-])", body):
            failures.append(f"{page}: {section} does not describe {option}")


def check_cli(page, cli):
    found = sections(rendered(page))
    check_sections(page.name, found, CliSections)
    program_help = run(cli, "--help")[0]
    # The program's own options (--help, --version) are described once.
    general = long_options(program_help)
    check_options(page.name, "GENERAL OPTIONS", found.get("GENERAL OPTIONS", ""), general)
    listed = re.split(r"^subcommands:", program_help, 1, re.I | re.M)[-1]
    subcommands = re.findall(r"^  (\w+)\s", listed, re.M)
    if not subcommands:
        failures.append("tesmera-cli --help lists no subcommands")
    for command in subcommands:
        section = command.upper()
        if section not in found:
            failures.append(f"{page.name}: no section for {command}")
            continue
        options = long_options(run(cli, command, "--help")[0]) - general
        check_options(page.name, section, found[section], options)


def check_window(page, window):
    found = sections(rendered(page))
    check_sections(page.name, found, WindowSections)
    options = set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", run(window, "--help")[0]))
    check_options(page.name, "OPTIONS", found.get("OPTIONS", ""), options)


def main(pages, cli, window):
    check_cli(Path(pages) / "tesmera-cli.1", cli)
    check_window(Path(pages) / "tesmera.1", window)
    for failure in failures:
        print("FAIL", failure)
    if not failures:
        print("both man pages render cleanly and describe every option")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
