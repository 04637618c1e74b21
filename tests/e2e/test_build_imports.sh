#!/usr/bin/env bash
# The .scr must run on a bare Windows machine with nothing beside it: it
# imports only system DLLs (no MinGW runtime), and nothing from the common
# controls, which it loads at run time.
set -u
objdump=$(command -v x86_64-w64-mingw32-objdump) || { echo "FAIL: no objdump"; exit 1; }
imports=$("$objdump" -p "${QM_SCR:?}" | awk '/DLL Name:/ {print tolower($3)}')
[ -n "$imports" ] || { echo "FAIL: no imports read from $QM_SCR"; exit 1; }
allowed=" advapi32.dll gdi32.dll glu32.dll kernel32.dll msvcrt.dll opengl32.dll shell32.dll user32.dll "
status=0
for dll in $imports; do
    case $allowed in
        *" $dll "*) ;;
        *) echo "FAIL: quillmere.scr imports $dll"; status=1 ;;
    esac
done
[ $status = 0 ] && echo "PASS: imports $(echo $imports)"
exit $status
