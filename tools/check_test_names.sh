#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a test name in the CTest listing is unreadable: a dump of the
# parameter's bytes, a "GetParam()" or "TypeParam" tail, or a bare index
# such as "/3", which is what a parameterised suite without a name
# generator gets.
# Usage: check_test_names.sh <ctest program> <build folder>
set -eu
ctest="$1"
build="$2"

listing=$("$ctest" --test-dir "$build" -N)
names=$(printf '%s\n' "$listing" | sed -n 's/^ *Test *#[0-9]*: //p')
if [ -z "$names" ]; then
    echo "no tests listed in $build" >&2
    exit 1
fi
unreadable=$(printf '%s\n' "$names" | grep -E 'byte object|GetParam|TypeParam|/[0-9]+$' || true)
if [ -n "$unreadable" ]; then
    echo "These test names are unreadable; give their suites a name generator:" >&2
    printf '%s\n' "$unreadable" >&2
    exit 1
fi
echo "$(printf '%s\n' "$names" | wc -l) test names, all readable"
