# Helpers of the Wine tests: every wait is for a state, bounded; a test stops only its own Xvfb and Wine server.
QM_WINE=${QM_WINE:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine}
QM_WINESERVER=${QM_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
qm_xvfb_pid="" qm_scr_pid=""

qm_ensure_prefix() {  # once; concurrent callers wait for the first
    mkdir -p "$(dirname "$1")"
    (
        flock -w 300 9 || exit 1
        [ -f "$1/system.reg" ] && exit 0
        WINEPREFIX=$1 DISPLAY= timeout 180 "$QM_WINE" wineboot -i >/dev/null 2>&1
        WINEPREFIX=$1 timeout 60 "$QM_WINESERVER" -w
    ) 9>"$1.lock"
    [ -f "$1/system.reg" ]
}

qm_start_xvfb() {  # [WIDTHxHEIGHT] on a free display (-noreset: a root picture outlives its client)
    local fifo=$(mktemp -u /tmp/qm-xvfb.XXXXXX) number="" && mkfifo "$fifo"
    Xvfb -displayfd 9 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 9>"$fifo" >/dev/null 2>&1 &
    qm_xvfb_pid=$!
    read -r -t 30 number <"$fifo"; rm -f "$fifo"
    [ -n "$number" ] || { echo "Xvfb did not start" >&2; qm_stop_xvfb; return 1; }
    export DISPLAY=:$number
}

qm_stop_xvfb() { [ -n "$qm_xvfb_pid" ] && kill "$qm_xvfb_pid" 2>/dev/null && wait "$qm_xvfb_pid" 2>/dev/null; qm_xvfb_pid=""; }

qm_stop_wine() { WINEPREFIX=${WINEPREFIX:?} timeout 30 "$QM_WINESERVER" -k >/dev/null 2>&1; timeout 30 "$QM_WINESERVER" -w >/dev/null 2>&1 || true; }

qm_e2e_begin() {  # NAME [SIZE]: a fresh $qm_work, the prefix, a private display, one Wine server for all runs
    export WINEPREFIX=${QM_WINEPREFIX:?} && qm_work=${QM_WORK_DIR:?}/$1 && rm -rf "$qm_work" && mkdir -p "$qm_work"
    qm_ensure_prefix "$WINEPREFIX" || { echo "cannot make the Wine prefix" >&2; return 1; }
    trap 'kill $qm_scr_pid 2>/dev/null; qm_stop_wine; qm_stop_xvfb' EXIT
    qm_start_xvfb "${2:-1024x768}" && "$QM_WINESERVER" -p
}

qm_fail() { echo "FAIL: $*" >&2 && exit 1; }

# Through the probe: a Wine process's Unix status can be a kill after a clean exit.
qm_start_scr() {
    (cd "$qm_work" && exec "$QM_WINE" "${QM_PROBE:?}" --run "Z:${QM_SCR//\//\\}" "$@" >"$qm_work/exit.txt") &
    qm_scr_pid=$!
}
qm_scr_unix_pid() {  # in this test's prefix
    grep -lzx "WINEPREFIX=$WINEPREFIX" /dev/null $(pgrep -f '^Z:.*quillmere\.scr' | sed 's|.*|/proc/&/environ|') 2>/dev/null | cut -d/ -f3
}

qm_until() {  # SECONDS COMMAND...: in this shell, so what it sets stays
    local end=$((SECONDS + $1)) && shift
    until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.1; done
}

qm_wait_exit() {  # [SECONDS]: sets qm_exit, or "running"; not in a subshell, as only this shell can wait
    qm_exit=running && qm_until "${1:-20}" qm_scr_ended || return 0
    wait "$qm_scr_pid"; qm_exit=$(sed -n 's/^exit=\([0-9]*\).*/\1/p' "$qm_work/exit.txt")
}
qm_scr_ended() { ! kill -0 "$qm_scr_pid" 2>/dev/null; }
# A run that opened something else (the dialog's link) took over 20 s to end on a loaded machine.
qm_expect_exit() { qm_wait_exit 60; [ "$qm_exit" = "$1" ] || qm_fail "$2: exit code $qm_exit, expected $1"; }  # CODE WHAT

# The X id of the first visible window whose name matches: qm_wait_window NAME [SECONDS]
qm_wait_window() { qm_until "${2:-20}" qm_window_id "$1" >/dev/null && qm_window_id "$1"; }
qm_window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }

qm_screenshot() { xwd -root -silent | convert xwd:- "$1"; }

qm_reg() { "$QM_WINE" reg "$@" 2>/dev/null | tr -d '\r'; }

# Only a read that worked counts: a failed reg is neither a key there nor one gone. NAME=- : no such value. qm_got
# is what the last read found, for the message (qm_read as reg printed it).
qm_reg_expect() { qm_until "${QM_REG_WAIT:-30}" qm_reg_is "$@"; }
qm_reg_is() {  # KEY absent | KEY [NAME=VALUE...]
    local read code want
    read=$("$QM_WINE" reg query "$1" 2>&1; echo "exit=$?") && read=${read//$'\r'/} code=${read##*exit=} && read=${read%exit=*}
    qm_read=$read
    if [ "$code" = 1 ] && [[ $read = *"Unable to find the specified registry key"* ]]; then
        qm_got="no key" && [ "${2:-}" = absent ]
        return
    fi
    [ "$code" = 0 ] && grep -q '^HKEY_' <<<"$read" || { qm_got="reg failed (exit $code): $read" && return 1; }
    qm_got=$(sed -n 's/^    \(.*[^ ]\) \{4\}REG_[A-Z_]* *\(.*\)$/\1=\2/p' <<<"$read") # NAME=VALUE, a NAME may hold spaces
    [ "${2:-}" != absent ] || return 1
    for want in "${@:2}"; do
        if [ "${want#*=}" = - ]; then ! grep -q "^${want%%=*}=" <<<"$qm_got"; else grep -qxF -- "$want" <<<"$qm_got"; fi || return 1
    done
}

# Written again until a read shows it; qm_reg_fresh first deletes the key, so it holds just those (none: no key).
qm_reg_set() { qm_until "${QM_REG_WAIT:-30}" qm_reg_set_once "$@"; }
qm_reg_set_once() {
    local pair
    [ $# -gt 1 ] || "$QM_WINE" reg add "$1" /f >/dev/null 2>&1
    for pair in "${@:2}"; do
        if [ "${pair#*=}" = - ]; then "$QM_WINE" reg delete "$1" /v "${pair%%=*}" /f; else "$QM_WINE" reg add "$1" /v "${pair%%=*}" /d "${pair#*=}" /f; fi >/dev/null 2>&1
    done
    qm_reg_is "$1" "${@:2}"
}
qm_reg_fresh() { qm_until "${QM_REG_WAIT:-30}" qm_reg_fresh_once "$@"; }
qm_reg_fresh_once() {
    "$QM_WINE" reg delete "$1" /f >/dev/null 2>&1
    if [ $# -gt 1 ]; then qm_reg_set_once "$@"; else qm_reg_is "$1" absent; fi
}

# No program in this prefix but Wine's own: what a program started (an uninstaller's copy) is done with the registry.
qm_wait_programs() { qm_until "${1:-60}" qm_no_programs; }
qm_no_programs() {
    ! grep -lzx "WINEPREFIX=$WINEPREFIX" /proc/[0-9]*/environ 2>/dev/null | sed 's/environ$/cmdline/' | xargs -r cat 2>/dev/null |
        tr '\0' '\n' | grep -i '^[a-z]:\\' | grep -viqE '\\windows\\system32\\(services|winedevice|plugplay|explorer|rpcss|svchost|conhost)\.exe$'
}

# No window manager runs: the pointer over it and the X focus set until it holds. qm_focused fails the test if not.
qm_focus() {  # NAME: sets window to its X id and WIDTH HEIGHT X Y
    window=$(qm_wait_window "$1" 20) &&
        eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT|X|Y)=')" &&
        qm_until 15 qm_focus_once $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
}
qm_focus_once() { xdotool mousemove "$1" "$2" windowfocus "$window" 2>/dev/null && sleep 0.1 && [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }
qm_focused() { qm_focus "${1:-^Quillmere$}" || qm_fail "no keyboard focus on ${1:-the render window}"; }  # [NAME]

# Lines of tests/windows/win_probe.cpp: qm_probe [CLASS [MESSAGE WPARAM]]
qm_probe() { "$QM_WINE" "${QM_PROBE:?}" "${1:-opengl demo}" "${@:2}" 2>/dev/null | tr -d '\r'; }
