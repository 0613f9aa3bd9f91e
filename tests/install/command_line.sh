#!/bin/sh
# The program's command line without a display: --help and --version print and end
# with status 0, starting without a display says how to start it and ends with 1
# (not Qt's abort), and none of them writes anything.
# Usage: command_line.sh <program>
set -eu
program=$1
tmp=$(mktemp -d "${TMPDIR:-/tmp}/narabin-cli.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

run() {
    env -i PATH=/usr/bin:/bin HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" \
        XDG_DATA_HOME="$tmp/home/.local/share" LANG=C.UTF-8 \
        ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} ${LSAN_OPTIONS:+LSAN_OPTIONS=$LSAN_OPTIONS} \
        "$program" "$@" >"$tmp/out" 2>"$tmp/err"
}
mkdir -p "$tmp/home"

run --help || fail "--help ended with $?"
grep -q '^使い方: narabin \[オプション\]$' "$tmp/out" || fail "--help printed: $(cat "$tmp/out")"
grep -q -- '--paths' "$tmp/out" || fail "--help does not name --paths"

run --version || fail "--version ended with $?"
grep -q '^narabin [0-9][0-9.]*（ならびん君 for Windows Ver 1.0）$' "$tmp/out" || fail "--version printed: $(cat "$tmp/out")"

status=0
run || status=$?
[ "$status" -eq 1 ] || fail "started without a display, it ended with $status: $(cat "$tmp/err")"
grep -q '画面がありません' "$tmp/err" || fail "no display was not explained: $(cat "$tmp/err")"
grep -q 'DISPLAY=:99 narabin' "$tmp/err" || fail "how to start it was not said: $(cat "$tmp/err")"

leftover=$(find "$tmp/home" -mindepth 1 | head -5)
[ -z "$leftover" ] || fail "something was written: $leftover"
echo "command line ok"
