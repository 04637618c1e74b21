# Screenshots compared with the test desktop $w/desk.png, and runs on it (sourced after lib.sh).
key='HKLM\Software\Tovarind\Quillmere'
w=$qm_work

ae() { compare -metric AE "$1" "$2" null: 2>&1 | awk '{printf "%d", $1}'; }
aef() { compare -metric AE -fuzz 3% "$1" "$2" null: 2>&1 | awk '{printf "%d", $1}'; }  # what an eye would see
mae() { compare -metric MAE "$w/now.png[$1]" "$w/desk.png[$1]" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/'; }
until_shot() { qm_until 30 shot_then "$@"; }
shot_then() { qm_screenshot "$w/now.png" && "$@"; }
still() { [ "$(ae "$w/now.png" "$w/desk.png")" = 0 ]; }
rippling() { [ "$(ae "$w/now.png" "$w/desk.png")" -gt 20000 ] && cp "$w/now.png" "$w/first.png"; }
moved() { [ "$(ae "$w/now.png" "$w/first.png")" -gt 5000 ]; }
lit() { convert "$w/now.png${1:+[$1]}" -format '%[fx:minima.r < 0.47 && maxima.r > 0.53]' info: | grep -qx 1; }
window_like() { qm_probe | grep -q -- "$1"; }
covered() { awk "BEGIN {exit !($(convert "$w/now.png" -format '%[fx:mean]' info:) < 0.01)}"; }
# Still water looks like the desktop even before the first frame, so a window is laid over it and taken away:
# only a frame drawn after that brings the desktop back.
still_drawn() {
    convert "$w/desk.png" -fill black -colorize 100 "$w/black.png"
    display -geometry +0+0 "$w/black.png" >/dev/null 2>&1 &
    local cover=$! && until_shot covered || qm_fail "the cover window does not show"
    kill $cover && wait $cover 2>/dev/null
    until_shot still || qm_fail "${1:-}still water is not the desktop ($(ae "$w/now.png" "$w/desk.png") pixels differ)"
}
run() {  # SETTINGS... -- SWITCH...: a fresh key with these values, then a run (two suites at once may take a minute to show it)
    local settings=()
    while [ "$1" != -- ]; do settings+=("$1=$2") && shift 2; done; shift
    qm_reg_fresh "$key" "${settings[@]}" || qm_fail "the settings $* not stored: $qm_got"
    display -window root "$w/desk.png" >/dev/null 2>&1; qm_start_scr "$@"
    qm_wait_window Quillmere 90 >/dev/null || qm_fail "$*: no window"
}
# Raw shots compared byte for byte: quick enough on a busy machine to catch a ring while it is young.
keep_still() { xwd -root -silent >"$w/still.xwd" && [ "$(ae xwd:"$w/still.xwd" "$w/desk.png")" = 0 ]; }
looks_still() { xwd -root -silent >"$w/look.xwd" && cmp -s "$w/look.xwd" "$w/still.xwd"; }
looks_stirred() { ! looks_still; }
ring_after() {  # XDOTOOL ARGS...: ring_box is the box (WxH+X+Y) of what the first look not still changed
    xdotool "$@" && qm_until 30 looks_stirred || qm_fail "$*: the water stays still"
    ring_box=$(convert xwd:"$w/still.xwd" xwd:"$w/look.xwd" -compose difference -composite \
        -bordercolor black -border 1 -format %@ info:)
}
# X,Y is a monitor's centre, so its edges clip the ring evenly at any age.
ring_centred() {  # X Y MONITOR WHAT
    local bw bh bx by mw mh mx my
    IFS=x+ read -r bw bh bx by <<<"$ring_box" && IFS=x+ read -r mw mh mx my <<<"$3"
    ((bx -= 1, by -= 1, bx >= mx && by >= my && bx + bw <= mx + mw && by + bh <= my + mh &&
        (2 * bx + bw - 2 * $1) ** 2 <= 64 && (2 * by + bh - 2 * $2) ** 2 <= 64)) ||
        qm_fail "$4: the ring is not centred on $1, $2 in $3 (it changed $ring_box)"
}
end_with() {  # XDOTOOL ARGS...: the run ends with exit code 1 and a clean log
    qm_focused && xdotool "$@"; qm_expect_exit 1 "ended by $*"
    ! grep -E '^(WARNING|ERROR)' "$w/screen.log" || qm_fail "warnings or errors in the log"
}
