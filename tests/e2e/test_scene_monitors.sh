#!/usr/bin/env bash
# Two monitors, primary left and primary right: one window covers both, each
# shows its own part of the desktop (pixel for pixel when the water is still)
# and ripples on its own, and a key still ends the run.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
QM_WINEPREFIX=$QM_WINEPREFIX-dual
qm_e2e_begin scene_monitors 3840x1080 || exit 1
. "$QM_SOURCE_DIR/tests/e2e/scene_lib.sh"

# A prefix of its own that never asks XRandR, so the monitors set on the
# display are the ones Wine sees. Set without a display, and that session
# left to end, or the next run gets its display-less 1024 x 768 desktop.
DISPLAY= "$QM_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1 &&
    timeout 30 "$QM_WINESERVER" -w || qm_fail "cannot make the two-monitor prefix"
# A grey gradient across each monitor, the right one inverted.
convert -size 1080x1920 gradient:'#e8e8e8'-'#303030' -rotate -90 \( +clone -negate \) +append \
    -type TrueColor -depth 8 "$w/desk.png"
half_rippling() { rippling && [ "$(ae "$w/now.png[1920x1080+$1+0]" "$w/desk.png[1920x1080+$1+0]")" -gt 20000 ]; }
# Mean difference from the desktop down the column at X: rings centred on a
# monitor barely move its centre column sideways.
column() {
    crop "$w/now.png" "3x1000+$1+40" "$w/col.png" && crop "$w/desk.png" "3x1000+$1+40" "$w/col0.png"
    compare -metric MAE "$w/col.png" "$w/col0.png" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/'
}
# The primary monitor (marked *) takes the display's output; left, then right.
for layout in '*L:0 R:1920' 'L:0 *R:1920'; do
    [ -n "$qm_xvfb_pid" ] || qm_start_xvfb 3840x1080 || qm_fail "no two-monitor display"
    for m in $layout; do
        xrandr --setmonitor "${m%:*}" "1920/508x1080/286+${m#*:}+0" "$([[ $m == \** ]] && echo screen || echo none)" ||
            qm_fail "xrandr $m"
    done
    run amp 0 -- /s
    still_drawn "$layout: "
    end_with key x
    run amp 100 -- /s
    until_shot half_rippling 0 && until_shot half_rippling 1920 || qm_fail "$layout: not both monitors ripple"
    for x in 0 1920; do
        awk "BEGIN {exit !(4 * $(column $((x + 959))) < $(column $((x + 480))))}" ||
            qm_fail "$layout: the rings are not centred on the monitor at $x"
    done
    end_with key x
    qm_stop_wine && qm_stop_xvfb
done
echo PASS
