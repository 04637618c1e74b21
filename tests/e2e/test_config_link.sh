#!/usr/bin/env bash
# A click on the link in the settings dialog asks the shell to open its web
# address. (A failed open beeps: the unit tests count the beeps.)
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
. "$QM_SOURCE_DIR/tests/e2e/config_lib.sh"
qm_e2e_begin config_link 1024x768 || exit 1

# The shell opens https addresses with the command in this key: the test
# puts in its own and restores the prefix's afterwards.
handler='HKLM\Software\Classes\https\shell\open\command'
saved_handler=$(qm_reg query "$handler" /ve | awk -F'REG_SZ' 'NF > 1 {sub(/^[ \t]+/, "", $2); print $2}')
restore_handler() {
    if [ -n "$saved_handler" ]; then
        qm_reg add "$handler" /ve /d "$saved_handler" /f >/dev/null
    else
        qm_reg delete "$handler" /f >/dev/null
    fi
    qm_e2e_end
}
trap restore_handler EXIT
opened="$WINEPREFIX/drive_c/quillmere_opened.txt"
rm -f "$opened"

config_store 50 0 50 25 1
qm_reg add "$handler" /ve /d 'C:\windows\system32\cmd.exe /c echo %1> C:\quillmere_opened.txt' /f >/dev/null
config_open /c
config_click_link
for ((i = 0; i < 50; i++)); do [ -s "$opened" ] && break; sleep 0.2; done
[ -s "$opened" ] || qm_fail "clicking the link asked the shell to open nothing"
grep -q 'https://quillmere.example/' "$opened" || qm_fail "the shell was asked to open: $(cat "$opened")"
config_click_cancel
config_expect_exit_1 "Cancel after the link"
echo PASS
