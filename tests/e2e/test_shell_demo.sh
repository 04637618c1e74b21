#!/usr/bin/env bash
# The run without a switch: key presses and clicks do not end it; releasing
# Tab switches between full screen and a 640 x 480 window (outer size) with
# a new window each time; releasing Esc, or closing the window, ends it
# with exit code 1.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin shell_demo 1024x768 || exit 1

# "outer=WxH+X+Y" of the one visible render window.
render_outer() {
    qm_probe | awk '/visible=1/ {for (i = 1; i <= NF; i++) if ($i ~ /^outer=/) print substr($i, 7)}'
}
render_handle() {
    qm_probe | awk '/visible=1/ {print substr($1, 6)}'
}

qm_start_scr
window=$(qm_wait_window Quillmere 30) || qm_fail "no window"
qm_focus "$window"
[ "$(render_outer)" = "1024x768+0+0" ] || qm_fail "not full screen: $(render_outer)"
first=$(render_handle)

xdotool key a key Return key space click 1 click 3
sleep 1
qm_wait_exit 0
[ "$qm_exit" = running ] || qm_fail "a key or click ended the demonstration"

xdotool key Tab
sleep 2
outer=$(render_outer)
case $outer in
    640x480+*) ;;
    *) qm_fail "after Tab: $outer, expected a 640x480 window" ;;
esac
second=$(render_handle)
[ -n "$second" ] && [ "$second" != "$first" ] || qm_fail "Tab did not create a new window"

window=$(qm_wait_window Quillmere 10) || qm_fail "no window after Tab"
qm_focus "$window"
xdotool key Tab
sleep 2
[ "$(render_outer)" = "1024x768+0+0" ] || qm_fail "second Tab: $(render_outer), expected full screen"

window=$(qm_wait_window Quillmere 10) || qm_fail "no window after the second Tab"
qm_focus "$window"
# Esc ends the run on release, not on press.
xdotool keydown Escape
sleep 1
qm_wait_exit 0
[ "$qm_exit" = running ] || qm_fail "Esc press alone ended the run"
xdotool keyup Escape
qm_wait_exit 15
[ "$qm_exit" = 1 ] || qm_fail "Esc release: exit code $qm_exit, expected 1"

# Closing the 640 x 480 window (Alt+F4) ends the run with 1 as well.
qm_start_scr
window=$(qm_wait_window Quillmere 30) || qm_fail "no window (second run)"
qm_focus "$window"
xdotool key Tab
sleep 2
window=$(qm_wait_window Quillmere 10) || qm_fail "no window after Tab (second run)"
qm_focus "$window"
xdotool key alt+F4
qm_wait_exit 15
[ "$qm_exit" = 1 ] || qm_fail "Alt+F4: exit code $qm_exit, expected 1"
echo PASS
