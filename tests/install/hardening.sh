#!/bin/sh
# Checks an optimised build's program the way Debian checks its packages
# (hardening-check, package devscripts): as `cmake --install` puts it and as the
# .deb carries it, stripped. Every check must say yes.
#
# Control flow integrity is left out: it needs every object in the program marked
# for CET, and Debian 12's own C start files (Scrt1.o, crti.o) are not, so no
# program built there can pass it (/usr/bin/ls does not either).
# Usage: hardening.sh <optimised build folder>
set -eu
build=$(cd "$1" && pwd)

command -v hardening-check >/dev/null 2>&1 || { echo "FAIL: hardening-check is not installed (package devscripts)"; exit 1; }
[ -f "$build/CPackConfig.cmake" ] || { echo "FAIL: $build is not a configured build folder"; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/narabin-hardening.XXXXXX")
trap 'rm -rf "$tmp"' EXIT

failed=0
# check <file> [library]: a library is position independent by nature, and says so otherwise.
check() {
    program=$1
    out=$(hardening-check --nocfprotection "$program" 2>&1) || failed=1
    printf '%s\n' "$out"
    pie=" Position Independent Executable: yes"
    [ $# -lt 2 ] || pie=" Position Independent Executable: no, regular shared library (ignored)"
    for line in "$pie" " Stack protected: yes" \
                " Fortify Source functions: yes" " Read-only relocations: yes" " Immediate binding: yes"; do
        # hardening-check's yes also when some calls stay plain: those into a buffer
        # whose size nothing knows, or that the compiler proved in bounds. A library built
        # with the program's flags may call no libc function that fortifying could check
        # (the printing library calls only Qt): then there is nothing to find.
        nothing=-
        [ $# -lt 2 ] || [ "$line" != " Fortify Source functions: yes" ] ||
            nothing=" Fortify Source functions: unknown, no protectable libc functions used"
        printf '%s\n' "$out" | grep -qxF -e "$line" -e "$line (some protected functions found)" -e "$nothing" ||
            { echo "FAIL: $program: expected \"$line\""; failed=1; }
    done
}

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
check "$tmp/prefix/bin/narabin"
check "$(find "$tmp/prefix" -name 'narabin_solver.so')" library
check "$(find "$tmp/prefix" -name 'narabin_print.so')" library

# The package strips the program; the evidence must survive that.
(cd "$tmp" && cpack --config "$build/CPackConfig.cmake" -B "$tmp/package") >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log"; echo "FAIL: cpack could not make the package"; exit 1; }
set -- "$tmp"/package/narabin_*.deb
[ -f "$1" ] || { echo "FAIL: cpack made no package"; exit 1; }
dpkg-deb -x "$1" "$tmp/deb"
check "$tmp/deb/usr/bin/narabin"
check "$(find "$tmp/deb" -name 'narabin_solver.so')" library
check "$(find "$tmp/deb" -name 'narabin_print.so')" library

[ $failed -eq 0 ] && echo "hardening ok"
exit $failed
