# What the scene tests share: a test desktop, screenshots compared with it,
# and runs of the screensaver on it (sourced by bash after lib.sh).
key='HKLM\Software\Tovarind\Quillmere'
w=$qm_work

# A grey gradient down the middle with small text above and below its centre
# row, and edge bands wider than any wave: yellow top, navy bottom, red left,
# green right.
font=$(fc-match -f '%{file}' 'DejaVu Sans' 2>/dev/null)
text=$(printf 'Quillmere 0123456789 the quick brown fox jumps over the lazy dog %.0s\n' {1..6})
convert -size 1920x1080 gradient:'#e8e8e8'-'#303030' -fill '#e0c000' -draw 'rectangle 0,0 1919,119' \
    -fill '#101040' -draw 'rectangle 0,960 1919,1079' -fill '#c00000' -draw 'rectangle 0,0 199,1079' \
    -fill '#00a000' -draw 'rectangle 1720,0 1919,1079' -fill black ${font:+-font "$font"} -pointsize 10 \
    -annotate +260+200 "$text" -annotate +900+760 "$text" -type TrueColor -depth 8 "$w/desk.png"

ae() { compare -metric AE "$1" "$2" null: 2>&1 | awk '{printf "%d", $1}'; }
crop() { convert "$1" -crop "$2" +repage "$3"; }
# Retries a check on fresh screenshots ($w/now.png) for up to 30 s.
until_shot() {
    local i
    for ((i = 0; i < 60; i++)); do qm_screenshot "$w/now.png" && "$@" && return 0; sleep 0.5; done
    return 1
}
still() { [ "$(ae "$w/now.png" "$w/desk.png")" = 0 ]; }
rippling() { [ "$(ae "$w/now.png" "$w/desk.png")" -gt 20000 ] && cp "$w/now.png" "$w/first.png"; }
moved() { [ "$(ae "$w/now.png" "$w/first.png")" -gt 5000 ]; }
# Share of a strip's pixels that match an fx colour test.
share() { convert "$w/now.png" -crop "$1" +repage -fx "$2" -format '%[fx:mean]' info:; }
# Each edge keeps its own band: a repeating texture would bring the opposite one.
edges_clean() {
    local s
    s=$(share 3x1080+0+0 'g>0.4&&r<0.3')+$(share 3x1080+1917+0 'r>0.5&&g<0.3')
    s+=+$(share 1520x3+200+0 'r+g+b<0.6')+$(share 1520x3+200+1077 'r>0.6&&g>0.5&&b<0.3')
    awk "BEGIN {exit !($s == 0)}" || qm_fail "an edge shows the opposite side ($s)"
}
# Mean difference from the desktop along the gradient's centre row: rings
# barely move it vertically there, crossed waves do.
centre_row() {
    crop "$w/now.png" 1120x3+400+539 "$w/row.png" && crop "$w/desk.png" 1120x3+400+539 "$w/row0.png"
    compare -metric MAE "$w/row.png" "$w/row0.png" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/'
}
run() {  # SETTINGS... -- SWITCH...: a fresh key with these values, then a run
    "$QM_WINE" reg delete "$key" /f >/dev/null 2>&1
    while [ "$1" != -- ]; do "$QM_WINE" reg add "$key" /v "$1" /d "$2" /f >/dev/null 2>&1; shift 2; done
    shift
    display -window root "$w/desk.png" >/dev/null 2>&1
    qm_start_scr "$@"
    window=$(qm_wait_window Quillmere 30) || qm_fail "$*: no window"
}
# Input goes to the render window once Wine has made it the foreground one.
focused() {
    local i
    for ((i = 0; i < 40; i++)); do
        qm_focus "$(qm_wait_window Quillmere 5)" && "$QM_WINE" "${QM_SHOW:?}" 'opengl demo' && return 0
    done
    qm_fail "the render window never gets the focus"
}
end_with() {  # XDOTOOL ARGS...: the run ends with exit code 1 and a clean log
    focused && xdotool "$@"
    qm_wait_exit 20
    [ "$qm_exit" = 1 ] || qm_fail "ended by $*: exit code $qm_exit"
    ! grep -E '^(WARNING|ERROR)' "$w/screen.log" || qm_fail "warnings or errors in the log"
}
# The render window's client area as a crop geometry once it is WxH (a
# pattern), or nothing.
client_area() {
    local line ow oh ox oy cw ch
    line=$(qm_probe | grep 'visible=1' | head -n 1)
    [[ $line =~ outer=([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+)\ client=([0-9]+)x([0-9]+) ]] || return 1
    read -r ow oh ox oy cw ch <<<"${BASH_REMATCH[*]:1}"
    [[ ${cw}x$ch == $1 ]] && echo "${cw}x$ch+$((ox + (ow - cw) / 2))+$((oy + oh - ch - (ow - cw) / 2))"
}
# The client area (WxH pattern) shows the whole desktop, filtered down
# without shimmer.
shows_desktop() {
    local area
    area=$(client_area "$1") && crop "$w/now.png" "$area" "$w/client.png" || return 1
    convert "$w/desk.png" -resize "${area%%+*}!" "$w/small.png"
    awk "BEGIN {exit !($(compare -metric RMSE "$w/client.png" "$w/small.png" null: 2>&1 |
        sed -E 's/.*\((.*)\)/\1/') < 0.05)}"
}
# Still water looks like the desktop even before the first frame, so a
# window is laid over it and taken away: only a frame drawn after that
# brings the desktop back.
still_drawn() {
    convert "$w/desk.png" -fill black -colorize 100 "$w/black.png"
    display -geometry +0+0 "$w/black.png" >/dev/null 2>&1 &
    local cover=$!
    until_shot covered || qm_fail "the cover window does not show"
    kill $cover && wait $cover 2>/dev/null
    until_shot still || qm_fail "${1:-}still water is not the desktop ($(ae "$w/now.png" "$w/desk.png") pixels differ)"
}
covered() { awk "BEGIN {exit !($(convert "$w/now.png" -format '%[fx:mean]' info:) < 0.01)}"; }
