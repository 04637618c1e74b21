#!/usr/bin/env bash
# Two monitors, the other left of the primary or above it (a virtual screen from below 0), changed under a run: each
# shows its own part of the desktop and is stirred, rained on and lit on its own.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
# A prefix that never asks XRandR, so Wine sees the monitors set; set before any run, else a 1024 x 768 desktop.
export WINEPREFIX=$QM_WINEPREFIX
qm_ensure_prefix "$QM_WINEPREFIX" && DISPLAY= QM_REG_WAIT=60 qm_reg_set 'HKCU\Software\Wine\X11 Driver' UseXRandR=N &&
    timeout 60 "$QM_WINESERVER" -w || { echo "FAIL: no two-monitor prefix (${qm_got:-no prefix})"; exit 1; }
qm_e2e_begin scene_monitors 1600x1200 || exit 1
. "$QM_SOURCE_DIR/tests/e2e/scene_lib.sh"

monitors() {  # NAME+X+Y NAME+X+Y: the primary first; Wine's virtual screen starts at the display's top-left
    local m
    for m in $(xrandr --listmonitors | awk 'NR > 1 {print $2}' | tr -d '*+'); do xrandr --delmonitor "$m" 2>/dev/null; done
    xrandr --setmonitor "*${1%%+*}" "800/212x600/159+${1#*+}" screen && xrandr --setmonitor "${2%%+*}" "800/212x600/159+${2#*+}" none ||
        qm_fail "no monitors $*"
}
change_to() {  # NAME+X+Y NAME+X+Y SCREEN: as the system would tell it, till the log says so
    monitors "$1" "$2" && [ "$(qm_probe --mode 800 600)" = mode=0 ] || qm_fail "Wine does not take the monitors $1 $2"
    qm_until 30 grep -q "^Screen changed: $3, 2 monitor(s)" "$w/screen.log" || qm_fail "no screen change to $3 in the log"
}
L=800x600+0+0 R=800x600+800+0 U=800x600+0+0 P=800x600+0+600
noise() { convert -size 800x600 xc: -seed "$1" +noise Random "$w/noise$1.png"; }
tiles() { convert \( "$w/noise$1.png" "$w/noise$2.png" +append \) \( "$w/noise$3.png" "$w/noise$4.png" +append \) -append \
    -type TrueColor -depth 8 "$w/desk.png"; }

monitors R+800+0 L+0+0
# Lit still water is each monitor's part of the desktop; the pointer and clicks ring where they are, before and after
# the screen changes (the primary keeps what it showed, as the display does).
noise 1 && noise 2 && tiles 1 2 2 1
run light 1 rain 1e-9 amp 0 -- && qm_focused && still_drawn && keep_still || qm_fail "no still look kept"
# Where the pointer is first seen (the window's centre) it drops nothing.
ring_after mousemove 400 300
ring_centred 400 300 $L "the pointer on the monitor left of the primary"
qm_until 30 looks_still || qm_fail "the pointer's ring never retires"
ring_after mousemove 1200 300 click 1
ring_centred 1200 300 $R "a click on the primary"
change_to P+0+600 U+0+0 "800 x 1200 at 0, -600"
qm_until 30 keep_still || qm_fail "after the screen change still water is not the desktop"
ring_after mousemove 400 900 click 1
ring_centred 400 900 $P "a click on the primary below the other monitor"
end_with key Escape

# Rain: the two monitors (the same picture) differ in every look, and the looks together ripple every part of each.
tiles 1 2 1 2
cells() {  # the share of changed pixels in each of the two monitors' 4 x 3 parts, added to $w/cells.png
    convert "$w/now.png" "$w/desk.png" -compose difference -composite -colorspace gray -threshold 10% \
        \( -clone 0 -crop "$1" +repage -scale '4x3!' \) \( -clone 0 -crop "$2" +repage -scale '4x3!' \) -delete 0 +append \
        "$w/look-cells.png" && { [ -f "$w/cells.png" ] || cp "$w/look-cells.png" "$w/cells.png"; } &&
        convert "$w/cells.png" "$w/look-cells.png" -compose lighten -composite "$w/cells.png"
}
rained_apart() {
    local apart rained
    apart=$(aef "$w/now.png[$1]" "$w/now.png[$2]") rained=$(($(aef "$w/now.png[$1]" "$w/desk.png[$1]") + $(aef "$w/now.png[$2]" "$w/desk.png[$2]")))
    [ "$rained" -gt 0 ] || return 1
    [ $((4 * apart)) -gt "$rained" ] || qm_fail "rain: the same drops on both monitors ($apart pixels apart, $rained rained)"
    cells "$1" "$2" && awk "BEGIN {exit !($(convert "$w/cells.png" -format '%[fx:minima]' info:) > 0.02)}"
}
run rain 100 amp 0 -- /s
qm_until 150 shot_then rained_apart $U $P || # fewer looks a minute on a loaded machine
    qm_fail "rain: not every part of both monitors rippled: $(convert "$w/cells.png" txt:- | tail -n +2)"
end_with key x

# Light on flat grey: the monitors alike, both darker and brighter, before and after the origin moves to x = -800.
convert -size 1600x1200 xc:'#808080' "$w/desk.png"
lit_alike() { lit "$1" && lit "$2" && [ "$(aef "$w/now.png[$1]" "$w/now.png[$2]")" -lt 2000 ]; }
lit_moving() {
    lit_alike "$1" "$2" && [ -f "$w/last.png" ] && [ "$(ae "$w/now.png[$1]" "$w/last.png[$1]")" -gt 5000 ] &&
        [ "$(ae "$w/now.png[$2]" "$w/last.png[$2]")" -gt 5000 ] || { cp "$w/now.png" "$w/last.png" && false; }
}
run light 1 amp 25 -- /s
until_shot lit_alike $U $P || qm_fail "lit: the monitors are not both lit both ways and alike ($(aef "$w/now.png[$U]" "$w/now.png[$P]") pixels apart)"
change_to R+800+0 L+0+0 "1600 x 600 at -800, 0"
qm_until 150 shot_then lit_moving $L $R || qm_fail "after the screen change the monitors are not both covered, lit alike and rippling: $(qm_probe)"
end_with key x
echo PASS
