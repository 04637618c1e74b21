# Picture helpers of the water-scene end-to-end tests (sourced by bash after
# tests/harness/lib.sh).

# An asymmetric test desktop, so that flips and colour swaps show: red band
# at the top, blue band at the bottom, green block at the left, grey rest.
# Usage: scene_make_picture OUT.png WIDTH HEIGHT
scene_make_picture() {
    local out=$1 w=$2 h=$3
    convert -size "${w}x${h}" xc:'#e0e0e0' \
        -fill red -draw "rectangle 0,0 $((w - 1)),$((h / 4 - 1))" \
        -fill blue -draw "rectangle 0,$((h * 3 / 4)) $((w - 1)),$((h - 1))" \
        -fill '#00c000' -draw "rectangle 0,$((h / 4)) $((w / 4 - 1)),$((h * 3 / 4 - 1))" \
        -type TrueColor -depth 8 "$out"
}

scene_keeper_pid=""

# qm_e2e_begin, plus one X client that stays connected for the whole test:
# Xvfb resets when its last client leaves, and a reset paints the root
# black again, picture and all. Usage: scene_begin NAME [WIDTHxHEIGHT]
scene_begin() {
    qm_e2e_begin "$@" || return 1
    xprop -root -spy >/dev/null 2>&1 &
    scene_keeper_pid=$!
    trap scene_end EXIT
    local i
    for ((i = 0; i < 50; i++)); do
        xprop -root 2>/dev/null | grep -q _XKB_RULES_NAMES && break
        sleep 0.1
    done
    sleep 0.3
}

scene_end() {
    qm_e2e_end
    if [ -n "$scene_keeper_pid" ]; then
        kill "$scene_keeper_pid" 2>/dev/null
        wait "$scene_keeper_pid" 2>/dev/null
        scene_keeper_pid=""
    fi
}

# Makes the picture the root window's background, and checks that it shows.
scene_show_on_root() {
    # display's exit status says nothing here; the screen itself is checked.
    display -window root "$1" >/dev/null 2>&1
    qm_screenshot "$qm_work/root.png"
    local near
    near=$(scene_rmse "$qm_work/root.png" "$1")
    scene_expect_below "$near" 0.01 "the picture on the root window"
}

# Waits until the screensaver has logged the start of its set-up, then a
# moment for the capture that follows it.
scene_wait_capture() {
    local i
    for ((i = 0; i < 150; i++)); do
        grep -q '^Init water saver' "$qm_work/screen.log" 2>/dev/null && break
        sleep 0.2
    done
    grep -q '^Init water saver' "$qm_work/screen.log" 2>/dev/null ||
        qm_fail "no \"Init water saver\" line in the run log"
    sleep 1.5
}

# Normalised root-mean-square difference (0 same .. 1 opposite) of two
# pictures after both are scaled to 32 x 24: shifts of an edge by a few
# per cent, as the ripples and the squeeze through 1024 x 1024 make, weigh
# little, while a flip or a colour swap changes whole blocks.
scene_rmse() {
    local out
    out=$(convert "$1" -resize '32x24!' "$2" -resize '32x24!' -metric RMSE -compare \
        -format '%[distortion]' info: 2>&1)
    printf '%.4f\n' "$out"
}

# Mean red, green and blue (0..1) of a region WxH+X+Y of a picture.
scene_mean_colour() {
    convert "$1" -crop "$2" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:
}

# Fails unless the region is mostly the named colour (red, green or blue).
scene_expect_colour() {
    local picture=$1 region=$2 colour=$3 r g b
    read -r r g b <<<"$(scene_mean_colour "$picture" "$region")"
    local ok
    case $colour in
        red) ok=$(awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN {print (r > 0.6 && g < 0.35 && b < 0.35)}') ;;
        green) ok=$(awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN {print (g > 0.5 && r < 0.35 && b < 0.35)}') ;;
        blue) ok=$(awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN {print (b > 0.6 && r < 0.35 && g < 0.35)}') ;;
        *) qm_fail "unknown colour $colour" ;;
    esac
    [ "$ok" = 1 ] || qm_fail "$picture $region: mean colour $r $g $b, expected $colour"
}

# Fails unless a < limit (floating point).
scene_expect_below() {
    awk -v a="$1" -v b="$2" 'BEGIN {exit !(a < b)}' || qm_fail "$3: $1 is not below $2"
}
