#!/usr/bin/env bash
# What the screensaver shows on one monitor. Still water is the desktop
# itself, pixel for pixel, small text included. Ripples never show the
# opposite edge, keep near the desktop, and are rings or crossed waves as
# "radial" says. The 640 x 480 window shows the whole picture, maximised too.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin scene_picture 1920x1080 || exit 1
. "$QM_SOURCE_DIR/tests/e2e/scene_lib.sh"

run amp 0 --
still_drawn
focused && xdotool key Tab
until_shot shows_desktop '6[0-9][0-9]x4[0-9][0-9]' || qm_fail "the 640 x 480 window does not show the desktop"
# Maximised; no window manager runs, so the test sizes the X window as one would.
"$QM_WINE" "$QM_SHOW" 'opengl demo' 3 || qm_fail "cannot maximise"
until_shot client_area '1[0-9][0-9][0-9]x[0-9]*' >/dev/null || qm_fail "not maximised"
xdotool windowsize "$(qm_wait_window Quillmere 5)" $(qm_probe | grep -o 'outer=[0-9]*x[0-9]*' | tr -c '0-9\n' ' ')
until_shot shows_desktop '1[0-9][0-9][0-9]x1[0-9][0-9][0-9]' || qm_fail "the maximised window does not show the whole desktop"
end_with key Escape

run -- /s
until_shot rippling || qm_fail "default waves: no ripples"
until_shot moved || qm_fail "default waves: the picture does not move"
edges_clean
radial=$(centre_row)
end_with key x

run radial 0 amp 100 -- /s
until_shot rippling || qm_fail "crossed waves: no ripples"
edges_clean
awk "BEGIN {exit !($(centre_row) > 4 * $radial)}" || qm_fail "radial 0 gives no crossed waves"
end_with mousedown 1

echo PASS
