#!/usr/bin/env bash
# What the screensaver shows on one monitor: the desktop, ripples that never show the opposite edge, rain, light.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin scene_picture 1920x1080 || exit 1
# A 960 x 540 mode for the screen's growth below, there before Wine first lists the modes.
xrandr --newmode small 0 960 0 0 0 540 0 0 0 && xrandr --addmode screen small || qm_fail "no 960 x 540 mode in X"
. "$QM_SOURCE_DIR/tests/e2e/scene_lib.sh"

# Small text about a grey gradient, and edge bands wider than any wave: yellow top, navy bottom, red left, green right.
font=$(fc-match -f '%{file}' 'DejaVu Sans' 2>/dev/null)
text=$(printf 'Quillmere 0123456789 the quick brown fox jumps over the lazy dog %.0s\n' {1..6})
convert -size 1920x1080 gradient:'#e8e8e8'-'#303030' -fill '#e0c000' -draw 'rectangle 0,0 1919,119' \
    -fill '#101040' -draw 'rectangle 0,960 1919,1079' -fill '#c00000' -draw 'rectangle 0,0 199,1079' \
    -fill '#00a000' -draw 'rectangle 1720,0 1919,1079' -fill black ${font:+-font "$font"} -pointsize 10 \
    -annotate +260+200 "$text" -annotate +900+760 "$text" -type TrueColor -depth 8 "$w/desk.png"

client_area() {  # WxH PATTERN: the render window's client area as a crop geometry once it is that, or nothing
    [[ $(qm_probe | grep 'visible=1' | head -n 1) =~ client=([0-9]+x[0-9]+)(\+-?[0-9]+\+-?[0-9]+) ]] &&
        [[ ${BASH_REMATCH[1]} == $1 ]] && echo "${BASH_REMATCH[1]}${BASH_REMATCH[2]}"
}
# With a limit, the upper text block is filtered that close: drawn smaller without mipmaps, every third pixel shows.
shows_desktop() {  # PATTERN [TEXT_LIMIT]
    local area cw ch
    area=$(client_area "$1") && convert "$w/now.png[$area]" +repage "$w/client.png" || return 1
    IFS=x+ read -r cw ch _ <<<"$area"
    convert "$w/desk.png" -resize "${cw}x$ch!" "$w/small.png"
    rmse() { compare -metric RMSE "$w/client.png$1" "$w/small.png$1" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/'; }
    awk "BEGIN {exit !($(rmse '') < 0.05 && $(rmse "[$((cw * 7 / 32))x$((ch / 10))+$((cw / 8))+$((ch / 6))]") < ${2:-1})}"
}
edges_clean() {  # a repeating texture would bring the opposite band
    local s
    share() { convert "$w/now.png" -crop "$1" +repage -fx "$2" -format '%[fx:mean]' info:; }
    s=$(share 3x1080+0+0 'g>0.4&&r<0.3')+$(share 3x1080+1917+0 'r>0.5&&g<0.3')+$(share 1520x3+200+0 'r+g+b<0.6')
    awk "BEGIN {exit !($s+$(share 1520x3+200+1077 'r>0.6&&g>0.5&&b<0.3') == 0)}" || qm_fail "an edge shows the opposite side"
}

run amp 0 -- && still_drawn && qm_focused && xdotool key Tab
until_shot shows_desktop '6[0-9][0-9]x4[0-9][0-9]' 0.06 || qm_fail "the 640 x 480 window does not show the desktop"
# Maximised; no window manager runs, so the test sizes the X window as one would.
qm_probe 'opengl demo' 0x112 0xF030 >/dev/null
until_shot client_area '1[0-9][0-9][0-9]x[0-9]*' >/dev/null || qm_fail "not maximised"
xdotool windowsize "$(qm_wait_window Quillmere 5)" $(qm_probe | grep -o 'outer=[0-9]*x[0-9]*' | tr -c '0-9\n' ' ')
until_shot shows_desktop '1[0-9][0-9][0-9]x1[0-9][0-9][0-9]' || qm_fail "the maximised window does not show the whole desktop"
end_with key Escape

# Along the centre row rings barely move the picture (the least of three looks, about 1e-4), crossed waves at 100 some
# 400 times as much. From a Downloads folder with opengl32.dll and glu32.dll planted: Wine would take them as Windows.
downloads=$w/Downloads && mkdir -p "$downloads" && cp "$QM_SCR" "$downloads/" && for dll in opengl32 glu32; do cp "$QM_PLANTED_DLL" "$downloads/$dll.dll"; done
QM_SCR=$downloads/quillmere.scr WINEDLLOVERRIDES="$WINEDLLOVERRIDES;opengl32,glu32=n,b" run -- /s
until_shot rippling || qm_fail "default waves: no ripples"
until_shot moved || qm_fail "default waves: the picture does not move" && edges_clean
radial=$(for look in 1 2 3; do qm_screenshot "$w/now.png" && mae 1120x3+400+539 && echo; done | sort -g | head -n 1)
end_with key x
! ls "$downloads"/*.loaded 2>/dev/null || qm_fail "a DLL planted beside the .scr was loaded"

run radial 0 amp 100 -- /s
until_shot rippling || qm_fail "crossed waves: no ripples" && edges_clean
crossed() { awk "BEGIN {exit !($(mae 1120x3+400+539) > 40 * $radial)}"; }
until_shot crossed || qm_fail "radial 0 gives no crossed waves"
end_with mousedown 1

# Drops at amplitude 0; a click's ring on a desktop of noise, where any move shows, the rain too light to drop any.
xdotool mouseup 1 # the crossed waves' run ended on a press
run rain 100 amp 0 -- /s
until_shot rippling && until_shot moved || qm_fail "rain at amplitude 0: no moving rings"
end_with key x
cp "$w/desk.png" "$w/picture.png" && convert -size 1920x1080 xc: -seed 1 +noise Random -type TrueColor -depth 8 "$w/desk.png"
run rain 1e-9 amp 0 --
qm_focused && still_drawn "before the click: " && keep_still || qm_fail "no still look kept"
ring_after click 1
ring_centred $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) 1920x1080+0+0 "a click in the demonstration"
end_with key Escape
# On flat grey only light shows the waves.
convert -size 1920x1080 xc:'#808080' "$w/desk.png"
run amp 25 -- /s
still_drawn "flat grey, unlit: " && end_with key x
lit_bands() { moved && lit; }
run light 1 amp 25 -- /s
until_shot rippling && until_shot lit_bands || qm_fail "flat grey, lit: no moving bands both darker and brighter"
end_with key x
cp "$w/picture.png" "$w/desk.png"

# The screen grows under a run, as when a monitor wakes: every quarter ripples (not the live desktop, not black) and
# is as bright as the small screen's picture tiled. The mode asked again while a busy Wine is not ready for it.
mode_set() { said=$(qm_probe --mode "$1" "$2") && [ "$said" = mode=0 ]; }
mode() { qm_until 60 mode_set "$1" "$2" || qm_fail "no $1 x $2 mode (the probe said: ${said:-nothing})"; }
mode 960 540
run amp 100 -- /s
qm_until 30 window_like 'outer=960x540+0+0 ' || qm_fail "not full screen at 960 x 540: $(qm_probe)"
mode 1920 1080
convert "$w/desk.png" -resize '960x540!' "$w/small.png" && convert -size 1920x1080 tile:"$w/small.png" "$w/grown.png"
mean() { convert "$1" -format '%[fx:mean]' info:; }
quarters_rippling() {
    local part ok=0
    for part in 960x540+0+0 960x540+960+0 960x540+0+540 960x540+960+540; do
        [ "$(ae "$w/now.png[$part]" "$w/last.png[$part]")" -gt 5000 ] &&
            awk "BEGIN {exit !(($(mean "$w/now.png[$part]") - $(mean "$w/grown.png[$part]"))^2 < 0.01)}" || ok=1
    done
    cp "$w/now.png" "$w/last.png" && return $ok
}
qm_screenshot "$w/last.png" && until_shot quarters_rippling || qm_fail "the grown screen is not covered and rippling: $(qm_probe)"
qm_until 30 window_like 'outer=1920x1080+0+0 .* topmost=1 ' || qm_fail "no longer topmost after the screen change: $(qm_probe)"
grep -q '^Screen changed: 1920 x 1080 at 0, 0, 1 monitor(s)' "$w/screen.log" || qm_fail "no screen change in the log"
end_with key x

echo PASS
