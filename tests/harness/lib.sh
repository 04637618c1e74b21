# Shared helpers of the Wine tests (sourced by bash).
# Every wait is bounded; a test stops only what it started itself.

QM_WINE=${QM_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
QM_WINESERVER=${QM_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

qm_xvfb_pid=""

# Makes the Wine prefix once; concurrent callers wait for the first.
qm_ensure_prefix() {
    local prefix=$1
    mkdir -p "$(dirname "$prefix")"
    (
        flock -w 300 9 || exit 1
        if [ ! -f "$prefix/system.reg" ]; then
            WINEPREFIX=$prefix DISPLAY= timeout 180 "$QM_WINE" wineboot -i >/dev/null 2>&1
            WINEPREFIX=$prefix timeout 60 "$QM_WINESERVER" -w
        fi
    ) 9>"$prefix.lock"
    [ -f "$prefix/system.reg" ]
}

# Starts a private Xvfb on a free display and exports DISPLAY.
# Usage: qm_start_xvfb [WIDTHxHEIGHT]
qm_start_xvfb() {
    local size=${1:-1024x768}
    local fifo
    fifo=$(mktemp -u /tmp/qm-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9>"$fifo" >/dev/null 2>&1 &
    qm_xvfb_pid=$!
    local number=""
    read -r -t 30 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "Xvfb did not start" >&2
        qm_stop_xvfb
        return 1
    fi
    export DISPLAY=:$number
}

qm_stop_xvfb() {
    if [ -n "$qm_xvfb_pid" ]; then
        kill "$qm_xvfb_pid" 2>/dev/null
        wait "$qm_xvfb_pid" 2>/dev/null
        qm_xvfb_pid=""
    fi
}

# Ends every Wine process of this prefix (ours alone) and waits for it.
qm_stop_wine() {
    WINEPREFIX=${WINEPREFIX:?} timeout 30 "$QM_WINESERVER" -k >/dev/null 2>&1
    WINEPREFIX=$WINEPREFIX timeout 30 "$QM_WINESERVER" -w >/dev/null 2>&1
    true
}
