#!/usr/bin/env bash
# Two monitors, the primary on the right: one window covers both, each shows
# its own part of the desktop (pixel for pixel when the water is still) and
# ripples with rings of its own, and a key still ends the run.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
# A prefix that never asks XRandR, so Wine sees the monitors set on the display;
# set, and that session ended, before any run (else it leaves a 1024 x 768 desktop).
qm_ensure_prefix "$QM_WINEPREFIX" && WINEPREFIX=$QM_WINEPREFIX DISPLAY= "$QM_WINE" reg add \
    'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1 &&
    WINEPREFIX=$QM_WINEPREFIX timeout 60 "$QM_WINESERVER" -w || { echo "FAIL: no two-monitor prefix"; exit 1; }
qm_e2e_begin scene_monitors 1600x600 || exit 1
. "$QM_SOURCE_DIR/tests/e2e/scene_lib.sh"

# Two 800 x 600 monitors, a grey gradient across each, the right one inverted.
convert -size 600x800 gradient:'#e8e8e8'-'#303030' -rotate -90 \( +clone -negate \) +append \
    -type TrueColor -depth 8 "$w/desk.png"
half_rippling() { rippling && [ "$(ae "$w/now.png[800x600+$1+0]" "$w/desk.png[800x600+$1+0]")" -gt 5000 ]; }
# The primary monitor (*) on the right takes the display's output, so the virtual
# screen starts left of the primary's origin, at x = -800.
xrandr --setmonitor L 800/212x600/159+0+0 none && xrandr --setmonitor '*R' 800/212x600/159+800+0 screen ||
    qm_fail "no two monitors"
run amp 0 -- /s
still_drawn
end_with key x
run amp 100 -- /s
until_shot half_rippling 0 && until_shot half_rippling 800 || qm_fail "not both monitors ripple"
# Rings centred on a monitor barely move its centre column sideways.
for x in 0 800; do
    awk "BEGIN {exit !(4 * $(mae "3x520+$((x + 399))+40") < $(mae "3x520+$((x + 200))+40"))}" ||
        qm_fail "the rings are not centred on the monitor at $x"
done
end_with key x
echo PASS
