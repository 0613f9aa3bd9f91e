#!/bin/sh
# Validates the desktop entry or the AppStream metadata with the desktop's own tools.
# A tool that is not installed fails the check: a check that cannot run is no pass.
# Usage: validate_metadata.sh desktop <file.desktop> | appstream <file.metainfo.xml>
set -u
kind=$1
file=$2
case $kind in
desktop) tool=desktop-file-validate ;;
appstream) tool=appstreamcli ;;
*) echo "unknown kind $kind"; exit 2 ;;
esac
if ! command -v "$tool" >/dev/null 2>&1; then
    echo "FAIL: $tool is not installed (scripts/bootstrap installs it)"
    exit 1
fi

if [ "$kind" = desktop ]; then
    # It prints hints and warnings but fails only on errors: let neither pass.
    out=$(desktop-file-validate "$file" 2>&1)
    status=$?
else
    # Its exit status lets infos and pedantic notes pass; they are worth fixing too.
    out=$(LC_ALL=C.UTF-8 appstreamcli validate --no-net --pedantic --no-color "$file" 2>&1)
    status=$?
    ! printf '%s\n' "$out" | grep -q '^[EWIP]: ' || status=1
fi
printf '%s\n' "$out"
if [ $status -ne 0 ] || { [ "$kind" = desktop ] && [ -n "$out" ]; }; then
    echo "FAIL: $tool found problems in $file"
    exit 1
fi
