#!/usr/bin/env bash
# screen.log as a user finds it in the working directory: truncated at
# every start, opened and closed with the time, ending with an empty line;
# and a run in a directory without write access works and leaves no log.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin shell_log 800x600 || exit 1

log=$qm_work/screen.log
printf 'left over from an earlier run\r\n' >"$log"
qm_start_scr /s
window=$(qm_wait_window Quillmere 30) || qm_fail "no window"
qm_focus "$window"
xdotool key q
qm_wait_exit 15
[ "$qm_exit" = 1 ] || qm_fail "/s: exit code $qm_exit"

grep -q 'left over' "$log" && qm_fail "the log was not truncated"
time_text='[A-Z][a-z][a-z] [A-Z][a-z][a-z] [0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}'
head -n 1 "$log" | tr -d '\r' | grep -Eqx "log open: $time_text" ||
    qm_fail "first line: $(head -n 1 "$log")"
# The last two lines: the closing line, then an empty one (text mode: CRLF).
tail -n 2 "$log" | head -n 1 | tr -d '\r' | grep -Eqx "log close: $time_text" ||
    qm_fail "closing line: $(tail -n 2 "$log" | head -n 1)"
[ "$(tail -c 4 "$log" | od -An -c | tr -d ' ')" = '\r\n\r\n' ] ||
    qm_fail "the log does not end with an empty line"
echo "ok: log lines"

# A working directory without write access. Root may write anywhere, so
# the directory is made read-only by a read-only bind mount where possible.
# Wine's server opens files for its clients, so it must start afresh inside
# the same mount namespace.
qm_stop_wine
readonly_dir=$qm_work/readonly
mkdir -p "$readonly_dir"
run_in_readonly_dir() {
    if [ "$(id -u)" = 0 ]; then
        unshare -m sh -c 'mount --bind -o ro "$1" "$1" && cd "$1" && exec "$2" "$3" /s' \
            sh "$readonly_dir" "$QM_WINE" "$QM_SCR" &
    else
        chmod 555 "$readonly_dir"
        (cd "$readonly_dir" && exec "$QM_WINE" "$QM_SCR" /s) &
    fi
    qm_scr_pid=$!
}
run_in_readonly_dir
window=$(qm_wait_window Quillmere 30) || qm_fail "read-only directory: no window"
qm_focus "$window"
xdotool key q
qm_wait_exit 15
[ "$qm_exit" = 1 ] || qm_fail "read-only directory: exit code $qm_exit"
[ -e "$readonly_dir/screen.log" ] && qm_fail "a log appeared in the read-only directory"
chmod 755 "$readonly_dir"
echo PASS
