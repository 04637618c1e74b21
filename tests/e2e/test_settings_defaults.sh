#!/usr/bin/env bash
# The settings key as the screensaver leaves it: a fresh start lays down
# the five defaults as text values, a later start leaves present texts
# alone, and a value of another type is replaced by its default's text.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin settings_defaults 800x600 || exit 1

key='HKLM\Software\Tovarind\Quillmere'

# "TYPE DATA" of one value of the key, nothing when it is missing.
reg_value() {
    qm_reg query "$key" /v "$1" | awk -v name="$1" '$1 == name {
        data = ""; for (i = 3; i <= NF; i++) data = data (i > 3 ? " " : "") $i
        print $2, data }'
}

expect_value() {
    local got
    got=$(reg_value "$1")
    [ "$got" = "$2" ] || qm_fail "$3: \"$1\" is \"$got\", expected \"$2\""
}

# Every value of the key, one "name type data" line each, sorted.
key_dump() {
    qm_reg query "$key" | awk 'NF >= 2 && $2 ~ /^REG_/' | sort
}

run_switch_a() {
    rm -f "$qm_work/screen.log"
    qm_start_scr /a
    qm_wait_exit 60
    [ "$qm_exit" = 1 ] || qm_fail "$1: /a ended with $qm_exit"
    [ -f "$qm_work/screen.log" ] || qm_fail "$1: no screen.log"
    if grep -q 'WARNING: can.t' "$qm_work/screen.log"; then
        qm_fail "$1: the log has a settings warning: $(grep WARNING "$qm_work/screen.log")"
    fi
}

# A fresh machine: no key at all.
qm_reg delete "$key" /f >/dev/null
[ -z "$(key_dump)" ] || qm_fail "the key could not be removed before the test"
run_switch_a "fresh key"
expect_value quality "REG_SZ 50" "fresh key"
expect_value speed "REG_SZ 0" "fresh key"
expect_value freq "REG_SZ 50" "fresh key"
expect_value amp "REG_SZ 25" "fresh key"
expect_value radial "REG_SZ 1" "fresh key"
[ "$(key_dump | wc -l)" = 5 ] || qm_fail "fresh key: unexpected values: $(key_dump)"
echo "ok: fresh key gets the five defaults"

# A second start writes nothing: texts the defaults would never write,
# out of range or not numbers at all, stay as they are.
qm_reg add "$key" /v quality /t REG_SZ /d 77 /f >/dev/null
qm_reg add "$key" /v speed /t REG_SZ /d abc /f >/dev/null
qm_reg add "$key" /v freq /t REG_SZ /d 250 /f >/dev/null
before=$(key_dump)
run_switch_a "second start"
after=$(key_dump)
[ "$before" = "$after" ] || qm_fail "second start changed the key:
before:
$before
after:
$after"
echo "ok: second start writes nothing"

# A value of the wrong type is replaced by the default's text; the rest
# stays as it was.
qm_reg add "$key" /v amp /t REG_DWORD /d 7 /f >/dev/null
expect_value amp "REG_DWORD 0x7" "set-up"
run_switch_a "REG_DWORD amp"
expect_value amp "REG_SZ 25" "REG_DWORD amp"
expect_value quality "REG_SZ 77" "REG_DWORD amp"
expect_value speed "REG_SZ abc" "REG_DWORD amp"
expect_value freq "REG_SZ 250" "REG_DWORD amp"
expect_value radial "REG_SZ 1" "REG_DWORD amp"
echo "ok: a REG_DWORD amp becomes the text 25"

echo PASS
