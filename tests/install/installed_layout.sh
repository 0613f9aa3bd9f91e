#!/bin/sh
# Installs the build into a temporary prefix and starts the installed program with
# `--paths` and an empty settings store: it must find its help file, drag icons and printing library
# in the prefix's share/narabin and, its bin folder not being writable, work in the
# per-user data folder, writing nothing anywhere. Root can write into any folder, so as root the program runs
# as the user nobody (setpriv, util-linux).
# Usage: installed_layout.sh <build folder>
set -eu
build=$1
skip=77

tmp=$(mktemp -d "${TMPDIR:-/tmp}/narabin-installed.XXXXXX")
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
prefix=$tmp/prefix
home=$tmp/home

cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir -p "$home"

run_as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
    else
        "$@"
    fi
}
if [ "$(id -u)" -eq 0 ]; then
    if ! command -v setpriv >/dev/null 2>&1 || ! getent passwd nobody >/dev/null || ! getent group nogroup >/dev/null; then
        echo "running as root without setpriv or the user nobody: cannot make a folder unwritable"
        exit $skip
    fi
    chown nobody:nogroup "$home"
fi

# `--paths` as the program would start from a menu: a fresh user, nothing inherited.
paths() {
    run_as_user env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        XDG_DATA_HOME="$home/.local/share" XDG_DATA_DIRS="$tmp/no-system-data" \
        ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
        ${LSAN_OPTIONS:+LSAN_OPTIONS=$LSAN_OPTIONS} \
        "$prefix/bin/narabin" --paths
}

fail() {
    echo "FAIL: $*"
    exit 1
}

# The installed program: bin not writable.
chmod 555 "$prefix/bin"
ls -A "$prefix/bin" >"$tmp/bin-before"
library=$(find "$prefix" -name narabin_print.so)
[ -n "$library" ] || fail "the printing library was not installed"
solver=$(find "$prefix" -name narabin_solver.so)
[ -n "$solver" ] || fail "the solver library was not installed"
got=$(paths) || fail "narabin --paths exited with $? and printed: $got"
expected="working-folder: $home/.local/share/Narabin/narabin
settings: $home/.config/Narabin/Narabin.conf
help-file: $prefix/share/narabin/NARABIN.HLP
drag-icon: $prefix/share/narabin/DRAG.ICO
drag-icon: $prefix/share/narabin/DRAG2.ICO
print-library: $library
solver-library: $solver"
[ "$got" = "$expected" ] || fail "narabin --paths printed
$got
instead of
$expected"

ls -A "$prefix/bin" | cmp -s - "$tmp/bin-before" || fail "something was written into the installed bin folder"
# A check writes nothing: no settings, no folders in the user's home.
leftover=$(find "$home" -mindepth 1 | head -5)
[ -z "$leftover" ] || fail "--paths wrote into the user's home: $leftover"

# Control: a copy whose folder its user can write works in that folder, as a
# portable copy does, and takes the files beside it.
chmod 755 "$prefix/bin"
cp "$prefix/share/narabin/NARABIN.HLP" "$prefix/bin/"
[ "$(id -u)" -ne 0 ] || chown nobody:nogroup "$prefix/bin"
got=$(paths) || fail "narabin --paths (writable bin) exited with $?"
printf '%s\n' "$got" | grep -qx "working-folder: $prefix/bin" || fail "a writable bin folder was not taken: $got"
printf '%s\n' "$got" | grep -qx "help-file: $prefix/bin/NARABIN.HLP" || fail "the help file beside the program was not taken: $got"

# A lost data folder is reported, and the exit status says so.
rm -rf "$prefix/share/narabin" "$prefix/bin/NARABIN.HLP"
if got=$(paths); then fail "--paths succeeded without its data files: $got"; fi
printf '%s\n' "$got" | grep -qx "drag-icon: (built-in) DRAG.ICO" || fail "a missing drag icon was not reported: $got"
# So is a lost printing library.
rm "$library"
got=$(paths) || true
printf '%s\n' "$got" | grep -qx "print-library: (missing)" || fail "a missing printing library was not reported: $got"
rm "$solver"
got=$(paths) || true
printf '%s\n' "$got" | grep -qx "solver-library: (missing)" || fail "a missing solver library was not reported: $got"
echo "installed layout ok"
