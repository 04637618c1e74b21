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

# Starts a private Xvfb on a free display and exports DISPLAY. With
# -noreset, a picture put on the root window stays when its client leaves.
# Usage: qm_start_xvfb [WIDTHxHEIGHT]
qm_start_xvfb() {
    local size=${1:-1024x768}
    local fifo
    fifo=$(mktemp -u /tmp/qm-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp -noreset 9>"$fifo" >/dev/null 2>&1 &
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

# ---- End-to-end helpers -------------------------------------------------

qm_scr_pid=""

# Fresh working directory for one test under QM_WORK_DIR; sets WINEPREFIX
# and starts the private display. Usage: qm_e2e_begin NAME [WIDTHxHEIGHT]
qm_e2e_begin() {
    local name=$1 size=${2:-1024x768}
    : "${QM_SCR:?} ${QM_WINEPREFIX:?} ${QM_WORK_DIR:?}"
    export WINEPREFIX=$QM_WINEPREFIX
    qm_work=$QM_WORK_DIR/$name
    rm -rf "$qm_work"
    mkdir -p "$qm_work"
    qm_ensure_prefix "$WINEPREFIX" || { echo "cannot make the Wine prefix" >&2; return 1; }
    trap qm_e2e_end EXIT
    qm_start_xvfb "$size"
}

qm_e2e_end() {
    if [ -n "$qm_scr_pid" ]; then
        kill "$qm_scr_pid" 2>/dev/null
        qm_scr_pid=""
    fi
    qm_stop_wine
    qm_stop_xvfb
}

qm_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the screensaver in the background in the test's working directory.
# Usage: qm_start_scr [SWITCH...]
qm_start_scr() {
    (cd "$qm_work" && exec "$QM_WINE" "$QM_SCR" "$@") &
    qm_scr_pid=$!
}

# Waits up to SECONDS for the screensaver to end and sets qm_exit to its
# exit code, or to "running" when it is still there. (Not in a subshell:
# only this shell can wait for its child.)
qm_wait_exit() {
    local seconds=${1:-20} i
    qm_exit=running
    for ((i = 0; i <= seconds * 10; i++)); do
        if ! kill -0 "$qm_scr_pid" 2>/dev/null; then
            wait "$qm_scr_pid"
            qm_exit=$?
            qm_scr_pid=""
            return 0
        fi
        [ "$seconds" = 0 ] && return 0
        sleep 0.1
    done
}

# Prints the X id of the first visible window whose name matches, waiting
# up to SECONDS; nothing when none appears.
qm_wait_window() {
    local name=$1 seconds=${2:-20} i id
    for ((i = 0; i < seconds * 5; i++)); do
        id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# "WIDTH HEIGHT X Y" of an X window.
qm_window_geometry() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '
        /^WIDTH/ {w=$2} /^HEIGHT/ {h=$2} /^X/ {x=$2} /^Y/ {y=$2}
        END {print w, h, x, y}'
}

# Screenshot of the whole display into a PNG.
qm_screenshot() {
    xwd -root -silent | convert xwd:- "$1"
}

qm_reg() {
    "$QM_WINE" reg "$@" 2>/dev/null | tr -d '\r'
}

# Gives a window the keyboard: no window manager runs, so the pointer is
# moved over it and the X focus set, then Wine is given a moment to notice.
qm_focus() {
    local id=$1 WIDTH HEIGHT X Y
    eval "$(xdotool getwindowgeometry --shell "$id" | grep -E '^(WIDTH|HEIGHT|X|Y)=')"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    xdotool windowfocus "$id" 2>/dev/null
    sleep 0.7
}

# Lines of win_probe for the render windows: see tests/windows/win_probe.cpp.
qm_probe() {
    "$QM_WINE" "${QM_PROBE:?}" "${1:-opengl demo}" 2>/dev/null | tr -d '\r'
}

# Starts the stand-in host window (CLIENT_WIDTH CLIENT_HEIGHT) and sets
# qm_host_window to its handle; qm_close_host makes it destroy the window.
qm_start_host() {
    local i
    rm -f "$qm_work/host_in"
    mkfifo "$qm_work/host_in"
    "$QM_WINE" "${QM_HOST:?}" "$1" "$2" 120 <"$qm_work/host_in" >"$qm_work/host_out" 2>/dev/null &
    qm_host_pid=$!
    exec 7>"$qm_work/host_in"
    qm_host_window=""
    for ((i = 0; i < 150; i++)); do
        qm_host_window=$(tr -d '\r' <"$qm_work/host_out" | head -n 1)
        [ -n "$qm_host_window" ] && return 0
        sleep 0.2
    done
    return 1
}

qm_close_host() {
    echo close >&7
    exec 7>&-
}
