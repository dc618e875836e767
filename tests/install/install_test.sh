#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary staging folder (DESTDIR) and uses it as
# a user would: the installed programs' --version, an analysis and a picture
# of an installed sample, then checks the desktop entry, the AppStream
# metadata, the icon, man pages and completion, and builds the Debian package
# and lists its files.
# Arguments: build folder, project version, cpack program.
set -euo pipefail
# Matches read their whole input (grep without -q): under pipefail a writer
# cut off by an early exit would fail the check with SIGPIPE.
build="$1"
version="$2"
cpack="$3"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

DESTDIR="$stage/root" cmake --install "$build" --prefix /usr >"$stage/install.log" ||
  fail "cmake --install: $(cat "$stage/install.log")"
usr="$stage/root/usr"

# The programs answer --version with their name and the project version.
[ "$("$usr/bin/tesmera-cli" --version)" = "tesmera-cli $version" ] || fail "tesmera-cli --version"
[ "$("$usr/bin/tesmera" --version)" = "tesmera $version" ] || fail "tesmera --version"

# No program carries a library run path: we install no library of our own,
# and an empty entry would load libraries from the current folder.
for program in "$build/app/tesmera" "$build/cli/tesmera-cli" "$build/cli/tesmera-render" \
  "$usr/bin/tesmera" "$usr/bin/tesmera-cli" "$usr/libexec/tesmera/tesmera-render"; do
  ! readelf --dynamic "$program" | grep -E 'RPATH|RUNPATH' || fail "$program has a run path"
done

# An installed sample analyses cleanly with the installed program.
sample="$usr/share/tesmera/samples/vowel_u_male2.wav"
[ -f "$sample" ] || fail "no installed sample at $sample"
"$usr/bin/tesmera-cli" analyze "$sample" --csv "$stage/sample.csv" || fail "analyze exited $?"
grep -q "vowel_u_male2.wav,ok," "$stage/sample.csv" || fail "analyze: $(cat "$stage/sample.csv")"

# render finds tesmera-render under libexec in the staged tree, nowhere else.
[ -x "$usr/libexec/tesmera/tesmera-render" ] || fail "no tesmera-render under libexec"
[ ! -e "$usr/bin/tesmera-render" ] || fail "tesmera-render installed beside tesmera-cli"
(cd "$stage" && "$usr/bin/tesmera-cli" render "$sample" --png "$stage/sample.png") ||
  fail "render exited $?"
[ "$(head -c 4 "$stage/sample.png" | tail -c 3)" = "PNG" ] || fail "render wrote no PNG"

desktop-file-validate "$usr/share/applications/io.github.tesmera.tesmera.desktop" || fail "desktop entry"
# appstreamcli exits non-zero on warnings too; only errors fail the check.
appstreamcli validate --no-net "$usr/share/metainfo/io.github.tesmera.tesmera.metainfo.xml" >"$stage/appstream.log" || true
cat "$stage/appstream.log"
! grep -q '^E:' "$stage/appstream.log" || fail "AppStream metadata has errors"

for size in 16 22 24 32 48 64 128 256; do
  icon="$usr/share/icons/hicolor/${size}x${size}/apps/tesmera.png"
  file "$icon" | grep >/dev/null "PNG image data, $size x $size," || fail "icon $icon: $(file "$icon")"
done
[ -f "$usr/share/icons/hicolor/scalable/apps/tesmera.svg" ] || fail "no scalable icon"
for page in tesmera tesmera-cli; do
  zcat "$usr/share/man/man1/$page.1.gz" | grep >/dev/null '^\.TH' || fail "man page of $page"
done
zcat "$usr/share/man/man1/tesmera-cli.1.gz" | grep >/dev/null 'extract' || fail "man page lacks subcommands"
[ -f "$usr/share/bash-completion/completions/tesmera-cli" ] || fail "no bash completion"
[ -f "$usr/share/doc/tesmera/copyright" ] || fail "no copyright file"
zcat "$usr/share/doc/tesmera/changelog.gz" | sed -n 1p | grep >/dev/null "^tesmera ($version) " ||
  fail "changelog's newest entry is not for $version"

# The package holds the same files.
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$stage/package" >"$stage/cpack.log" ||
  fail "cpack: $(cat "$stage/cpack.log")"
package="$(ls "$stage"/package/tesmera_"$version"_*.deb)"
dpkg-deb --info "$package" | grep >/dev/null '^ Depends: .*libqt6widgets6' || fail "package Depends lacks Qt"
dpkg-deb --info "$package" | grep >/dev/null '^ Depends: .*libqt6multimedia6' ||
  fail "package Depends lacks Qt Multimedia (recording and playback)"
dpkg-deb --info "$package" | grep >/dev/null '^ Recommends: bash-completion' || fail "package does not recommend bash-completion"
dpkg-deb --contents "$package" | tee "$stage/contents.txt"
for path in ./usr/bin/tesmera ./usr/bin/tesmera-cli ./usr/libexec/tesmera/tesmera-render \
  ./usr/share/applications/io.github.tesmera.tesmera.desktop \
  ./usr/share/metainfo/io.github.tesmera.tesmera.metainfo.xml \
  ./usr/share/man/man1/tesmera-cli.1.gz ./usr/share/doc/tesmera/copyright \
  ./usr/share/doc/tesmera/changelog.gz ./usr/share/doc/tesmera/measures.md; do
  grep -q " $path\$" "$stage/contents.txt" || fail "package lacks $path"
done
echo "installed, used and packaged"
