#!/usr/bin/env bash
# Screensaver switches: /a returns at once; the full-screen switches cover
# the display and end on the first key or left/right button press, but not
# on mouse movement or the middle button.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin shell_screensaver 1024x768 || exit 1

qm_start_scr /a
qm_wait_exit 20
[ "$qm_exit" = 1 ] || qm_fail "/a: exit code $qm_exit, expected 1"
grep -q '^log open: ' "$qm_work/screen.log" || qm_fail "/a: no run log"

# Each switch, ended by a different input. Mouse movement and the middle
# button come first every time and must not end the run.
check_switch() {
    local switch=$1 ending=$2 window geometry
    qm_start_scr $switch
    window=$(qm_wait_window Quillmere 30) || qm_fail "$switch: no window"
    geometry=$(qm_window_geometry "$window")
    [ "$geometry" = "1024 768 0 0" ] || qm_fail "$switch: window at $geometry, expected full screen"
    qm_focus "$window"
    xdotool mousemove 100 100 sleep 0.2 mousemove 700 500 sleep 0.2 click 2
    sleep 1
    qm_wait_exit 0
    [ "$qm_exit" = running ] || qm_fail "$switch: ended by mouse movement or middle button"
    case $ending in
        key) xdotool key x ;;
        left) xdotool mousedown 1 ;;
        right) xdotool mousedown 3 ;;
    esac
    qm_wait_exit 15
    xdotool mouseup 1 mouseup 3 2>/dev/null
    [ "$qm_exit" = 1 ] || qm_fail "$switch ended by $ending: exit code $qm_exit, expected 1"
    echo "ok: $switch ends on $ending with 1"
}

check_switch /s key
check_switch /S left
check_switch -s right
check_switch /x key
check_switch / key
echo "PASS"
