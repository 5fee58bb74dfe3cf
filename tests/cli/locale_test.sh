#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# brindle-scan writes its figures with a full stop whatever the locale: a
# German locale (decimal comma) gives byte for byte the output of the C
# locale. The locale is made in a folder of the test's own when the system
# lacks it; where it cannot be made at all the test is skipped (77), never
# passed.
# Usage: locale_test.sh BRINDLE_SCAN
set -eu
scan=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

german=de_DE.UTF-8
if ! LC_ALL=$german locale -k decimal_point 2>/dev/null | grep -q '","'; then
    mkdir -p "$tmp/locales"
    if ! localedef -i de_DE -f UTF-8 "$tmp/locales/$german" >/dev/null 2>&1; then
        echo "SKIP: the locale $german is missing and cannot be made here (localedef)"
        exit 77
    fi
    export LOCPATH=$tmp/locales
fi
# The locale in force really has a decimal comma.
if ! LC_ALL=$german locale -k decimal_point 2>/dev/null | grep -q '","'; then
    echo "SKIP: the locale $german does not load"
    exit 77
fi

mkdir -p "$tmp/data"
for _ in $(seq 60); do
    printf 'The quick brown fox jumps over the lazy dog and then the cat sat on the mat.\r\n'
done >"$tmp/ref.txt"
{
    for _ in $(seq 3); do
        printf 'The quick brown fox jumps over the lazy dog and then the cat sat on the mat.\r\n'
    done
    for _ in $(seq 30); do printf 'zyzzyva quixotic jazz buzz fizz\r\n'; done
} >"$tmp/data/stray.txt"
printf 'ab\0cdefghijkl' >"$tmp/data/cut.txt"

status=0
for args in "-d" "-d --format jsonl" "--extended -d --format jsonl" "--extended -d"; do
    # shellcheck disable=SC2086 # the options are words
    LC_ALL=C "$scan" $args -r "$tmp/ref.txt" "$tmp/data" >"$tmp/c.out" 2>"$tmp/c.err" || true
    # shellcheck disable=SC2086
    LC_ALL=$german "$scan" $args -r "$tmp/ref.txt" "$tmp/data" >"$tmp/de.out" 2>"$tmp/de.err" || true
    if ! grep -q '[0-9]\.[0-9]' "$tmp/c.out"; then
        echo "FAIL ($args): no figure in the output:"
        cat "$tmp/c.out" "$tmp/c.err"
        status=1
    elif ! cmp -s "$tmp/c.out" "$tmp/de.out"; then
        echo "FAIL ($args): the German locale changed the output:"
        diff "$tmp/c.out" "$tmp/de.out" || true
        status=1
    fi
done
# The progress summary's time, too.
LC_ALL=$german "$scan" --progress "$tmp/data" >/dev/null 2>"$tmp/de.err" || true
if ! grep -Eq 'checked, .* [0-9]+\.[0-9] s$' "$tmp/de.err"; then
    echo "FAIL: the summary's time has no full stop:"
    cat "$tmp/de.err"
    status=1
fi
exit $status
