#!/usr/bin/env bash
# Two 800 x 600 monitors, one left of the primary (the virtual screen starts
# at x = -800), then one above it (at y = -600): one window covers both, and
# each monitor shows its own part of the desktop, is lit, rained on and
# stirred on its own, and is still covered and rippling after the screen
# change that moves the origin.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
# A prefix that never asks XRandR, so Wine sees the monitors set on the display;
# set, and that session ended, before any run (else it leaves a 1024 x 768 desktop).
qm_ensure_prefix "$QM_WINEPREFIX" && WINEPREFIX=$QM_WINEPREFIX DISPLAY= "$QM_WINE" reg add \
    'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1 &&
    WINEPREFIX=$QM_WINEPREFIX timeout 60 "$QM_WINESERVER" -w || { echo "FAIL: no two-monitor prefix"; exit 1; }
qm_e2e_begin scene_monitors 1600x1200 || exit 1
. "$QM_SOURCE_DIR/tests/e2e/scene_lib.sh"

# The primary (first) takes the display's output; Wine puts the virtual
# screen's origin at the display's top-left corner.
monitors() {  # NAME+X+Y NAME+X+Y
    local m
    for m in $(xrandr --listmonitors | awk 'NR > 1 {print $2}' | tr -d '*+'); do xrandr --delmonitor "$m" 2>/dev/null; done
    xrandr --setmonitor "*${1%%+*}" "800/212x600/159+${1#*+}" screen && xrandr --setmonitor "${2%%+*}" "800/212x600/159+${2#*+}" none ||
        qm_fail "no monitors $*"
}
L=800x600+0+0 R=800x600+800+0 U=800x600+0+0 P=800x600+0+600
# Desktops as large as the display, made of 800 x 600 tiles.
tiles() { convert -size 1600x1200 tile:"$1" -type TrueColor -depth 8 "$w/desk.png"; }
noise() { convert -size 800x600 xc: -seed "$1" +noise Random -type TrueColor -depth 8 "$w/noise$1.png"; }

monitors R+800+0 L+0+0
# Each monitor shows its own part of the desktop, pixel for pixel; the
# pointer, first seen at the window's centre (the primary's left edge),
# rings the left monitor where it moves to, and a click the primary.
noise 1 && noise 2 && convert "$w/noise1.png" "$w/noise2.png" +append "$w/pair.png" && tiles "$w/pair.png"
run rain 1e-9 amp 0 --
focused && still_drawn && keep_still || qm_fail "no still look kept"
ring_after mousemove 400 300
ring_centred 400 300 $L "the pointer on the left monitor"
qm_until 30 looks_still || qm_fail "the pointer's ring never retires"
ring_after mousemove 1200 300 click 1
ring_centred 1200 300 $R "a click on the primary monitor"
end_with key Escape

# Rain: in every look that shows any, the two monitors (the same picture)
# differ, and in the looks together every part of each monitor is rippled.
tiles "$w/noise1.png"
rm -f "$w/cells.png"
cells() {  # the share of changed pixels in each of a monitor's 4 x 3 parts, added to $w/cells.png
    convert "$w/now.png" "$w/desk.png" -compose difference -composite -crop 1600x600+0+0 +repage \
        -colorspace gray -threshold 10% -scale '8x3!' "$w/look-cells.png" &&
        { [ -f "$w/cells.png" ] || cp "$w/look-cells.png" "$w/cells.png"; } &&
        convert "$w/cells.png" "$w/look-cells.png" -compose lighten -composite "$w/cells.png"
}
rained_apart() {
    local apart rained
    apart=$(aef "$w/now.png[$L]" "$w/now.png[$R]") rained=$(($(aef "$w/now.png[$L]" "$w/desk.png[$L]") + $(aef "$w/now.png[$R]" "$w/desk.png[$R]")))
    [ "$rained" -gt 0 ] || return 1
    [ $((4 * apart)) -gt "$rained" ] || qm_fail "rain: the same drops on both monitors ($apart pixels apart, $rained rained)"
    cells && awk "BEGIN {exit !($(convert "$w/cells.png" -format '%[fx:minima]' info:) > 0.02)}"
}
run rain 100 amp 0 -- /s
qm_until 60 shot_then rained_apart || qm_fail "rain: not every part of both monitors rippled: $(convert "$w/cells.png" txt:- | tail -n +2)"
end_with key x

# Light on a flat grey desktop: the two monitors look alike (their waves,
# shade and glints in their own places), both darker and brighter. After
# the screen changes to one monitor above the primary (the origin moves
# to y = -600) both are covered again, alike, lit and rippling.
convert -size 1600x1200 xc:'#808080' "$w/desk.png"
lit() { convert "$w/now.png[$1]" -format '%[fx:minima.r < 0.47 && maxima.r > 0.53]' info: | grep -qx 1; }
alike() { [ "$(aef "$w/now.png[$1]" "$w/now.png[$2]")" -lt 2000 ]; }
lit_alike() { lit "$1" && lit "$2" && alike "$1" "$2"; }
lit_moving() {
    lit_alike "$1" "$2" && [ -f "$w/last.png" ] && [ "$(ae "$w/now.png[$1]" "$w/last.png[$1]")" -gt 5000 ] &&
        [ "$(ae "$w/now.png[$2]" "$w/last.png[$2]")" -gt 5000 ] || { cp "$w/now.png" "$w/last.png" && false; }
}
run light 1 amp 25 -- /s
until_shot lit_alike $L $R || qm_fail "lit: the monitors are not lit alike: $(aef "$w/now.png[$L]" "$w/now.png[$R]") pixels apart"
monitors P+0+600 U+0+0
[ "$(qm_probe --mode 800 600)" = mode=0 ] || qm_fail "Wine does not take the new monitors"
qm_until 30 grep -q '^Screen changed: 800 x 1200 at 0, -600, 2 monitor(s)' "$w/screen.log" || qm_fail "no screen change in the log"
until_shot lit_moving $U $P || qm_fail "after the screen change the monitors are not both covered, lit alike and rippling: $(qm_probe)"
end_with key x
echo PASS
