#!/usr/bin/env bash
# Draws Quillmere's own sample desktop: a sky gradient, three coloured
# application windows, a taskbar and some text. Nothing third-party: every
# pixel is generated here with ImageMagick.
# Usage: sample_desktop.sh OUT.png [WIDTHxHEIGHT]   (default 1024x768)
set -eu

out=${1:?usage: sample_desktop.sh OUT.png [WIDTHxHEIGHT]}
size=${2:-1024x768}
if ! [[ $size =~ ^([0-9]+)x([0-9]+)$ ]]; then
    echo "sample_desktop.sh: size must be WIDTHxHEIGHT, not '$size'" >&2
    exit 2
fi
w=${BASH_REMATCH[1]}
h=${BASH_REMATCH[2]}
if ((w < 64 || h < 64 || w > 8192 || h > 8192)); then
    echo "sample_desktop.sh: size must lie between 64x64 and 8192x8192" >&2
    exit 2
fi

# Positions in per mille of the picture, so every size looks alike.
px() { echo $(($1 * w / 1000)); }
py() { echo $(($1 * h / 1000)); }
taskbar=$(py 940)
font=$(fc-match -f '%{file}' 'DejaVu Sans' 2>/dev/null || true)
font_opt=()
[ -n "$font" ] && font_opt=(-font "$font")
text=$(( (h + 767) / 768 * 14 ))

# One application window: frame, title bar in its colour, a few text lines.
window() {
    local x0=$(px "$1") y0=$(py "$2") x1=$(px "$3") y1=$(py "$4") colour=$5 title=$6
    local bar=$((y0 + text + 10))
    printf '%s\n' \
        -fill '#f4f1e8' -stroke '#202020' -draw "rectangle $x0,$y0 $x1,$y1" -stroke none \
        -fill "$colour" -draw "rectangle $x0,$y0 $x1,$bar" \
        -fill white -pointsize "$text" -annotate "+$((x0 + 8))+$((bar - 6))" "$title" \
        -fill '#303030' -annotate "+$((x0 + 10))+$((bar + text + 10))" "Quillmere sample desktop" \
        -annotate "+$((x0 + 10))+$((bar + 2 * text + 18))" "$colour"
}

mapfile -t draw < <(
    window 60 80 420 520 '#c0392b' 'Red notes'
    window 480 160 900 600 '#2e86c1' 'Blue mail'
    window 250 620 640 880 '#27ae60' 'Green sheet'
)

convert -size "${w}x${h}" gradient:'#3a7bd5-#d8ecff' "${font_opt[@]}" \
    -fill '#fff6a0' -draw "circle $(px 880),$(py 110) $(px 920),$(py 110)" \
    "${draw[@]}" \
    -fill '#1c1c2a' -draw "rectangle 0,$taskbar $w,$h" \
    -fill '#e67e22' -draw "rectangle $(px 8),$((taskbar + 4)) $(px 90),$((h - 4))" \
    -fill white -pointsize "$text" -annotate "+$(px 16)+$((h - (h - taskbar - text) / 2 - 2))" "Start" \
    -annotate "+$(px 900)+$((h - (h - taskbar - text) / 2 - 2))" "12:00" \
    -type TrueColor -depth 8 "$out"
