# Shared helpers of the Wine tests (sourced by bash).
# Every wait waits for a state and is bounded; a test stops only what it
# started itself: its Xvfb by pid, the Wine server of its own prefix.

QM_WINE=${QM_WINE:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
QM_WINESERVER=${QM_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

qm_xvfb_pid=""
qm_scr_pid=""

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
qm_start_xvfb() {  # [WIDTHxHEIGHT]
    local fifo number=""
    fifo=$(mktemp -u /tmp/qm-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 9 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset 9>"$fifo" >/dev/null 2>&1 &
    qm_xvfb_pid=$!
    read -r -t 30 number <"$fifo"
    rm -f "$fifo"
    [ -n "$number" ] || { echo "Xvfb did not start" >&2; qm_stop_xvfb; return 1; }
    export DISPLAY=:$number
}

qm_stop_xvfb() {
    [ -n "$qm_xvfb_pid" ] || return 0
    kill "$qm_xvfb_pid" 2>/dev/null
    wait "$qm_xvfb_pid" 2>/dev/null
    qm_xvfb_pid=""
}

# Ends every Wine process of this prefix (ours alone) and waits for it.
qm_stop_wine() {
    WINEPREFIX=${WINEPREFIX:?} timeout 30 "$QM_WINESERVER" -k >/dev/null 2>&1
    WINEPREFIX=$WINEPREFIX timeout 30 "$QM_WINESERVER" -w >/dev/null 2>&1
    true
}

# A fresh working directory $qm_work, the prefix, a private display and one
# Wine server kept up for every run of the test. Usage: qm_e2e_begin NAME [SIZE]
qm_e2e_begin() {
    : "${QM_SCR:?} ${QM_WINEPREFIX:?} ${QM_WORK_DIR:?}"
    export WINEPREFIX=$QM_WINEPREFIX
    qm_work=$QM_WORK_DIR/$1
    rm -rf "$qm_work"
    mkdir -p "$qm_work"
    qm_ensure_prefix "$WINEPREFIX" || { echo "cannot make the Wine prefix" >&2; return 1; }
    trap qm_e2e_end EXIT
    qm_start_xvfb "${2:-1024x768}" && "$QM_WINESERVER" -p
}

qm_e2e_end() {
    [ -n "$qm_scr_pid" ] && kill "$qm_scr_pid" 2>/dev/null
    qm_scr_pid=""
    qm_stop_wine
    qm_stop_xvfb
}

qm_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the screensaver in the background in $qm_work. Usage: qm_start_scr [SWITCH...]
qm_start_scr() {
    (cd "$qm_work" && exec "$QM_WINE" "$QM_SCR" "$@") &
    qm_scr_pid=$!
}

# Waits up to SECONDS for the screensaver to end and sets qm_exit to its exit
# code, or to "running". (Not in a subshell: only this shell can wait for it.)
qm_wait_exit() {  # SECONDS
    local end=$((SECONDS + ${1:-20}))
    qm_exit=running
    while kill -0 "$qm_scr_pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$end" ] || return 0
        sleep 0.1
    done
    wait "$qm_scr_pid"
    qm_exit=$?
    qm_scr_pid=""
}

# Prints the X id of the first visible window whose name matches, waiting up
# to SECONDS; fails when none appears.
qm_wait_window() {  # NAME [SECONDS]
    local end=$((SECONDS + ${2:-20})) id
    while [ "$SECONDS" -lt "$end" ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# "WIDTH HEIGHT X Y" of an X window.
qm_window_geometry() {
    xdotool getwindowgeometry --shell "$1" |
        awk -F= '/^WIDTH/ {w=$2} /^HEIGHT/ {h=$2} /^X/ {x=$2} /^Y/ {y=$2} END {print w, h, x, y}'
}

qm_screenshot() {
    xwd -root -silent | convert xwd:- "$1"
}

qm_reg() {
    "$QM_WINE" reg "$@" 2>/dev/null | tr -d '\r'
}

# Gives a window the keyboard: no window manager runs, so the pointer is
# moved over it and the X focus set; keys sent after that reach it.
qm_focus() {
    local id=$1 end=$((SECONDS + 10)) w h x y
    read -r w h x y < <(qm_window_geometry "$id")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) windowfocus "$id" 2>/dev/null
    until [ "$(xdotool getwindowfocus 2>/dev/null)" = "$id" ]; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.1
    done
}

# Lines of win_probe for the windows of a class (tests/windows/win_probe.cpp).
qm_probe() {  # [CLASS [MESSAGE WPARAM]]
    "$QM_WINE" "${QM_PROBE:?}" "${1:-opengl demo}" "${@:2}" 2>/dev/null | tr -d '\r'
}

# Starts the stand-in host window with a client area of WIDTH x HEIGHT and
# sets qm_host_window to its handle; qm_close_host makes it close the window.
qm_start_host() {  # WIDTH HEIGHT
    local end=$((SECONDS + 30))
    rm -f "$qm_work/host_in"
    mkfifo "$qm_work/host_in"
    "$QM_WINE" "${QM_HOST:?}" "$1" "$2" 120 <"$qm_work/host_in" >"$qm_work/host_out" 2>/dev/null &
    exec 7>"$qm_work/host_in"
    qm_host_window=""
    until [ -n "$qm_host_window" ]; do
        [ "$SECONDS" -lt "$end" ] || return 1
        sleep 0.2
        qm_host_window=$(tr -d '\r' <"$qm_work/host_out" | head -n 1)
    done
}

qm_close_host() {
    echo close >&7
    exec 7>&-
}
