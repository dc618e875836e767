#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop entry and the AppStream metadata as they are installed:
desktop-file-validate and `appstreamcli validate --pedantic` find nothing
(not even a hint), both name the same component, every screenshot is shipped
in the source tree, and the entry claims each sound type the program opens:
every audio type shared-mime-info gives a file name with an extension
`tesmera-cli report --help` lists.

Arguments: the build folder of packaging/ (with the configured metainfo
file), the source folder, tesmera-cli, shared-mime-info's
freedesktop.org.xml."""
import configparser
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

MimeNamespace = {"m": "http://www.freedesktop.org/standards/shared-mime-info"}
# Types that share an extension with a format the sound file library reads
# but are another format: Musepack is not Akai's MPC, and Speex is not
# decoded.
OtherFormats = {"audio/x-musepack", "audio/x-speex+ogg"}
ScreenshotPrefix = "https://raw.githubusercontent.com/tesmera/tesmera/main/"

failures = []


def quiet(command, success):
    """Runs a checker; any line besides its success line is a finding."""
    result = subprocess.run(command, capture_output=True, text=True)
    findings = [line for line in (result.stdout + result.stderr).splitlines()
                if line.strip() and success not in line]
    if result.returncode != 0 or findings:
        failures.append(f"{command[0]}: exit {result.returncode}\n" + "\n".join(findings))


def audio_types_of(extensions, mime_database):
    types = set()
    root = ET.parse(mime_database).getroot()
    for mime_type in root.findall("m:mime-type", MimeNamespace):
        name = mime_type.get("type")
        for glob in mime_type.findall("m:glob", MimeNamespace):
            pattern = glob.get("pattern").lower()
            if pattern.startswith("*.") and pattern[2:] in extensions and name.startswith("audio/"):
                types.add(name)
    return types - OtherFormats


def check_mime_types(desktop, cli, mime_database):
    entry = configparser.ConfigParser(interpolation=None)
    entry.read(desktop, encoding="utf-8")
    claimed = set(filter(None, entry["Desktop Entry"]["MimeType"].split(";")))
    report_help = subprocess.run([cli, "report", "--help"], capture_output=True, text=True).stdout
    extensions = set(re.findall(r"\*\.([a-z0-9]+)", report_help))
    if not extensions:
        failures.append("report --help names no extensions")
    for missing in sorted(audio_types_of(extensions, mime_database) - claimed):
        failures.append(f"{desktop.name} does not claim {missing}")


def check_component(metainfo, desktop, source):
    root = ET.parse(metainfo).getroot()
    component_id = root.findtext("id")
    if f"{component_id}.desktop" != desktop.name or root.findtext("launchable") != desktop.name:
        failures.append(f"component {component_id} does not launch {desktop.name}")
    images = [image.text for image in root.iter("image")]
    if not images or root.find("releases/release/description") is None:
        failures.append("no screenshots, or no release notes")
    for image in images:
        shipped = source / image.removeprefix(ScreenshotPrefix)
        if not image.startswith(ScreenshotPrefix) or not shipped.is_file():
            failures.append(f"screenshot {image} is not shipped in the source tree")


def only(folder, pattern):
    """The one file of the source folder matching the pattern."""
    found = sorted(Path(folder).glob(pattern))
    if len(found) != 1:
        sys.exit(f"FAIL {len(found)} files {pattern} in {folder}, not one")
    return found[0]


def main(build, source, cli, mime_database):
    # The desktop entry names the component; the metadata is configured
    # under the same id.
    desktop = only(Path(source) / "packaging", "*.desktop")
    metainfo = Path(build) / f"{desktop.stem}.metainfo.xml"
    quiet(["desktop-file-validate", str(desktop)], "\0")
    quiet(["appstreamcli", "validate", "--pedantic", "--no-net", str(metainfo)],
          "Validation was successful")
    check_component(metainfo, desktop, Path(source))
    check_mime_types(desktop, cli, mime_database)
    for failure in failures:
        print("FAIL", failure)
    if not failures:
        print("desktop entry and AppStream metadata are clean and claim every sound type")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
