#!/usr/bin/env bash
# The settings key as the screensaver leaves it: a fresh start lays down
# the five defaults as text, a second start leaves present texts alone,
# and a value of another type is replaced by its default's text.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin settings_defaults 800x600 || exit 1

key='HKLM\Software\Tovarind\Quillmere'

# Every value of the key as sorted "name type data" lines.
key_dump() {
    qm_reg query "$key" | awk 'NF >= 2 && $2 ~ /^REG_/ {$1 = $1; print}' | sort
}

run_switch_a() {
    rm -f "$qm_work/screen.log"
    qm_start_scr /a
    qm_wait_exit 60
    [ "$qm_exit" = 1 ] || qm_fail "$1: /a ended with $qm_exit"
    [ -f "$qm_work/screen.log" ] || qm_fail "$1: no screen.log"
    ! grep 'WARNING: can.t' "$qm_work/screen.log" || qm_fail "$1: settings warning in the log"
}

expect_dump() {
    local got
    got=$(key_dump)
    [ "$got" = "$2" ] || qm_fail "$1: the key holds [$got], expected [$2]"
}

qm_reg delete "$key" /f >/dev/null
[ -z "$(key_dump)" ] || qm_fail "the key could not be removed before the test"
run_switch_a "fresh key"
expect_dump "fresh key" "$(printf '%s\n' 'amp REG_SZ 25' 'freq REG_SZ 50' 'quality REG_SZ 50' \
    'radial REG_SZ 1' 'speed REG_SZ 0')"
echo "ok: fresh key gets the five defaults"

qm_reg add "$key" /v quality /t REG_SZ /d 77 /f >/dev/null
qm_reg add "$key" /v speed /t REG_SZ /d abc /f >/dev/null
qm_reg add "$key" /v freq /t REG_SZ /d 250 /f >/dev/null
before=$(key_dump)
run_switch_a "second start"
expect_dump "second start" "$before"
echo "ok: second start writes nothing"

qm_reg add "$key" /v amp /t REG_DWORD /d 7 /f >/dev/null
[ "$(key_dump | grep '^amp')" = "amp REG_DWORD 0x7" ] || qm_fail "REG_DWORD amp was not set up"
run_switch_a "REG_DWORD amp"
expect_dump "REG_DWORD amp" "$before"
echo "ok: a REG_DWORD amp becomes the text 25"

echo PASS
