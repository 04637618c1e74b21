#!/usr/bin/env bash
# The desktop that was on the display when the screensaver started is what
# it shows: upright and in its own colours, rippling with the default
# settings, still with "amp" 0, and again in the 640 x 480 window after Tab.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
. "$QM_SOURCE_DIR/tests/e2e/scene_lib.sh"
scene_begin scene_picture 1024x768 || exit 1
key='HKLM\Software\Tovarind\Quillmere'

set_setting() {
    "$QM_WINE" reg add "$key" /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1 ||
        qm_fail "cannot set $1"
}

pic=$qm_work/desktop.png
scene_make_picture "$pic" 1024 768
convert "$pic" -flip "$qm_work/flipped.png"
convert "$pic" -separate -swap 0,2 -combine "$qm_work/swapped.png"

# What a frame of the whole display must look like when it shows the
# picture: close to it, far closer than to its upside-down or red-blue
# swapped forms, and each band in its own colour.
expect_picture() {
    local shot=$1 limit=$2 what=$3 near flipped swapped
    near=$(scene_rmse "$shot" "$pic")
    flipped=$(scene_rmse "$shot" "$qm_work/flipped.png")
    swapped=$(scene_rmse "$shot" "$qm_work/swapped.png")
    echo "$what: difference $near (upside down $flipped, red-blue swapped $swapped)"
    scene_expect_below "$near" "$limit" "$what: difference from the desktop"
    scene_expect_below "$near" "$(awk -v a="$flipped" 'BEGIN {print a / 3}')" "$what: not upright"
    scene_expect_below "$near" "$(awk -v a="$swapped" 'BEGIN {print a / 3}')" "$what: colours swapped"
    scene_expect_colour "$shot" 600x110+200+40 red
    scene_expect_colour "$shot" 150x240+50+264 green
    scene_expect_colour "$shot" 600x110+200+618 blue
}

expect_clean_log() {
    if grep -E '^(WARNING|ERROR)' "$qm_work/screen.log"; then
        qm_fail "warnings or errors in the run log"
    fi
}

# --- Screensaver run with the settings of a fresh installation ---------
set_setting quality 50
set_setting speed 0
set_setting freq 50
set_setting amp 25
set_setting radial 1
scene_show_on_root "$pic"
qm_start_scr /s
scene_wait_capture
window=$(qm_wait_window Quillmere 30) || qm_fail "/s: no window"
sleep 1.5
qm_screenshot "$qm_work/ripple1.png"
sleep 0.4
qm_screenshot "$qm_work/ripple2.png"
expect_picture "$qm_work/ripple1.png" 0.2 "rippling frame"
moved=$(compare -metric AE -fuzz 10% "$qm_work/ripple1.png" "$qm_work/ripple2.png" null: 2>&1)
echo "pixels changed between two frames 0.4 s apart: $moved"
[ "${moved%%.*}" -gt 5000 ] 2>/dev/null || qm_fail "the waves do not move ($moved pixels changed)"
qm_focus "$window"
xdotool key x
qm_wait_exit 15
[ "$qm_exit" = 1 ] || qm_fail "/s ended by a key: exit code $qm_exit, expected 1"
expect_clean_log

# --- Demonstration run with still water, then Tab ----------------------
set_setting amp 0
scene_show_on_root "$pic"
qm_start_scr
scene_wait_capture
window=$(qm_wait_window Quillmere 30) || qm_fail "demo: no window"
sleep 1.5
qm_screenshot "$qm_work/still1.png"
sleep 0.4
qm_screenshot "$qm_work/still2.png"
expect_picture "$qm_work/still1.png" 0.05 "still frame"
moved=$(compare -metric AE -fuzz 3% "$qm_work/still1.png" "$qm_work/still2.png" null: 2>&1)
[ "${moved%%.*}" -lt 1000 ] 2>/dev/null || qm_fail "amp 0: the picture moves ($moved pixels changed)"

qm_focus "$window"
xdotool key Tab
sleep 2
line=$(qm_probe | grep 'visible=1' | head -n 1)
[[ $line =~ outer=([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+)\ client=([0-9]+)x([0-9]+) ]] ||
    qm_fail "after Tab: no render window ($line)"
read -r ow oh ox oy cw ch <<<"${BASH_REMATCH[*]:1}"
[ "$ow" = 640 ] && [ "$oh" = 480 ] || qm_fail "after Tab: window ${ow}x$oh, expected 640x480"
# The client area sits inside the frame: equal borders left, right and
# below, the caption on top.
border=$(((ow - cw) / 2))
cx=$((ox + border))
cy=$((oy + oh - ch - border))
sleep 1
qm_screenshot "$qm_work/tab_screen.png"
convert "$qm_work/tab_screen.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$qm_work/tab.png"
convert "$pic" -resize "${cw}x${ch}!" "$qm_work/tab_expected.png"
near=$(scene_rmse "$qm_work/tab.png" "$qm_work/tab_expected.png")
echo "640 x 480 window: difference $near"
scene_expect_below "$near" 0.06 "after Tab: difference from the desktop"
scene_expect_colour "$qm_work/tab.png" "$((cw / 2))x$((ch / 8))+$((cw / 4))+$((ch / 16))" red
scene_expect_colour "$qm_work/tab.png" "$((cw / 8))x$((ch / 4))+$((cw / 16))+$((ch * 3 / 8))" green
scene_expect_colour "$qm_work/tab.png" "$((cw / 2))x$((ch / 8))+$((cw / 4))+$((ch * 13 / 16))" blue

window=$(qm_wait_window Quillmere 10) || qm_fail "no window after Tab"
qm_focus "$window"
xdotool key Escape
qm_wait_exit 15
[ "$qm_exit" = 1 ] || qm_fail "demo ended by Esc: exit code $qm_exit, expected 1"
expect_clean_log
echo PASS
