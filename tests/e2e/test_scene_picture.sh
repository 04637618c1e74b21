#!/usr/bin/env bash
# The desktop on the display when the screensaver starts is what it shows:
# upright and in its own colours, rippling with the default settings, still
# with "amp" 0, and again in the 640 x 480 window after Tab.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin scene_picture 1024x768 || exit 1
key='HKLM\Software\Tovarind\Quillmere'

# Red band on top, blue at the bottom, green block at the left.
pic=$qm_work/desktop.png
convert -size 1024x768 xc:'#e0e0e0' -fill red -draw 'rectangle 0,0 1023,191' \
    -fill blue -draw 'rectangle 0,576 1023,767' -fill '#00c000' -draw 'rectangle 0,192 255,575' \
    -type TrueColor -depth 8 "$pic"
convert "$pic" -flip "$qm_work/flipped.png"
convert "$pic" -separate -swap 0,2 -combine "$qm_work/swapped.png"

below() { awk -v a="$1" -v b="$2" 'BEGIN {exit !(a < b)}' || qm_fail "$3: $1 is not below $2"; }

# Normalised RMS difference (0 same .. 1 opposite) of two pictures scaled to
# 32 x 24: the ripples' small edge shifts weigh little, a flip a lot.
rmse() {
    printf '%.4f\n' "$(convert "$1" -resize '32x24!' "$2" -resize '32x24!' -metric RMSE \
        -compare -format '%[distortion]' info: 2>&1)"
}

# Fails unless the region WxH+X+Y of a picture is mostly red, green or blue.
expect_colour() {
    local rgb
    rgb=$(convert "$1" -crop "$2" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:)
    awk -v c="$3" -v rgb="$rgb" 'BEGIN {
        split(rgb, m, " "); i = c == "red" ? 1 : c == "green" ? 2 : 3
        for (j = 1; j <= 3; j++)
            if (j == i ? m[j] <= (i == 2 ? 0.5 : 0.6) : m[j] >= 0.35) exit 1 }' ||
        qm_fail "$1 $2: mean colour $rgb, expected $3"
}

# SHOT shows the picture: close to it, far closer than to its upside-down or
# red-blue swapped forms, each band in its colour. Usage: SHOT LIMIT WHAT
expect_picture() {
    local near flipped swapped w h
    near=$(rmse "$1" "$pic")
    flipped=$(rmse "$1" "$qm_work/flipped.png")
    swapped=$(rmse "$1" "$qm_work/swapped.png")
    below "$near" "$2" "$3: difference from the desktop"
    below "$near" "$(awk -v a="$flipped" 'BEGIN {print a / 3}')" "$3: not upright"
    below "$near" "$(awk -v a="$swapped" 'BEGIN {print a / 3}')" "$3: colours swapped"
    read -r w h <<<"$(identify -format '%w %h' "$1")"
    expect_colour "$1" "$((w / 2))x$((h / 8))+$((w / 4))+$((h / 16))" red
    expect_colour "$1" "$((w / 8))x$((h / 4))+$((w / 16))+$((h * 3 / 8))" green
    expect_colour "$1" "$((w / 2))x$((h / 8))+$((w / 4))+$((h * 13 / 16))" blue
}

# Starts the screensaver on the picture; two frames 0.4 s apart. NAME SWITCH...
start_and_shoot() {
    local name=$1 && shift
    display -window root "$pic" >/dev/null 2>&1
    qm_start_scr "$@"
    window=$(qm_wait_window Quillmere 30) || qm_fail "$name: no window"
    sleep 1.5
    qm_screenshot "$qm_work/${name}1.png"
    sleep 0.4
    qm_screenshot "$qm_work/${name}2.png"
}

# Ends the run with a key, expecting exit code 1 and a clean log.
end_with_key() {
    qm_focus "$window"
    xdotool key "$1"
    qm_wait_exit 15
    [ "$qm_exit" = 1 ] || qm_fail "ended by $1: exit code $qm_exit, expected 1"
    ! grep -E '^(WARNING|ERROR)' "$qm_work/screen.log" || qm_fail "warnings or errors in the run log"
}

# Screensaver run with the settings of a fresh installation.
"$QM_WINE" reg delete "$key" /f >/dev/null 2>&1
start_and_shoot ripple /s
expect_picture "$qm_work/ripple1.png" 0.2 "rippling frame"
moved=$(compare -metric AE -fuzz 10% "$qm_work/ripple1.png" "$qm_work/ripple2.png" null: 2>&1)
[ "${moved%%.*}" -gt 5000 ] 2>/dev/null || qm_fail "the waves do not move ($moved pixels changed)"
end_with_key x

# Demonstration run with still water, then Tab.
"$QM_WINE" reg add "$key" /v amp /t REG_SZ /d 0 /f >/dev/null 2>&1 || qm_fail "cannot set amp"
start_and_shoot still
expect_picture "$qm_work/still1.png" 0.05 "still frame"
moved=$(compare -metric AE -fuzz 3% "$qm_work/still1.png" "$qm_work/still2.png" null: 2>&1)
[ "${moved%%.*}" -lt 1000 ] 2>/dev/null || qm_fail "amp 0: the picture moves ($moved pixels changed)"

qm_focus "$window"
xdotool key Tab
sleep 3
line=$(qm_probe | grep 'visible=1' | head -n 1)
[[ $line =~ outer=([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+)\ client=([0-9]+)x([0-9]+) ]] ||
    qm_fail "after Tab: no render window ($line)"
read -r ow oh ox oy cw ch <<<"${BASH_REMATCH[*]:1}"
[ "$ow" = 640 ] && [ "$oh" = 480 ] || qm_fail "after Tab: window ${ow}x$oh, expected 640x480"
# Equal borders left, right and below the client area; the caption on top.
border=$(((ow - cw) / 2))
qm_screenshot "$qm_work/tab_screen.png"
convert "$qm_work/tab_screen.png" -crop "${cw}x${ch}+$((ox + border))+$((oy + oh - ch - border))" \
    +repage "$qm_work/tab.png"
expect_picture "$qm_work/tab.png" 0.06 "640 x 480 window"
window=$(qm_wait_window Quillmere 10) || qm_fail "no window after Tab"
end_with_key Escape
echo PASS
