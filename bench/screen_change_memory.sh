#!/usr/bin/env bash
# The screensaver's memory across screen changes, lit and plain: a /s run at
# 1920 x 1080 on a private Xvfb, its screen switched to 960 x 540 and back
# CHANGES times (default 24) as a monitor that sleeps and wakes would; the
# resident size of its process after 4 changes and after CHANGES, and the
# growth per change, for light 0 and light 1. With a baseline (a
# quillmere.scr elsewhere: the name is how its process is found), the same
# for it after the shipped one.
#   bench/screen_change_memory.sh [CHANGES] [BASELINE/quillmere.scr]
# A baseline: tests/faults/scene-light-program-kept.patch applied (every
# screen change keeps the light's old program).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
changes=${1:-24}
baseline=${2:+$(realpath "$2")}
. "$root/tests/harness/lib.sh"
export WINEPREFIX=$root/build/bench-prefix
qm_ensure_prefix "$WINEPREFIX" || exit 1
qm_work=$root/build/bench-screen-memory && mkdir -p "$qm_work"
QM_PROBE=$root/build/windows/tests/win_probe.exe
key='HKLM\Software\Tovarind\Quillmere'
trap 'kill $qm_scr_pid 2>/dev/null; qm_stop_wine; qm_stop_xvfb' EXIT
qm_start_xvfb 1920x1080 || exit 1
"$QM_WINESERVER" -p
xrandr --newmode small 0 960 0 0 0 540 0 0 0 && xrandr --addmode screen small || exit 1

window_at() { qm_probe | grep -q "outer=$1+0+0 "; }
resident() { awk '/^VmRSS/ {printf "%.0f", $2 / 1024}' "/proc/$(qm_scr_unix_pid | head -n 1)/status"; }
one_run() {  # SCR LIGHT: prints the MiB after 4 changes and after $changes
    local k size after_4=""
    "$QM_WINE" reg add "$key" /v light /d "$2" /f >/dev/null 2>&1
    QM_SCR=$1 qm_start_scr /s
    qm_until 90 window_at 1920x1080 || { echo "no window" >&2; return 1; }
    for ((k = 1; k <= changes; k++)); do
        size=$([ $((k % 2)) = 1 ] && echo 960x540 || echo 1920x1080)
        [ "$(qm_probe --mode "${size%x*}" "${size#*x}")" = mode=0 ] || { echo "no $size mode" >&2; return 1; }
        qm_until 60 window_at "$size" || { echo "the window does not follow $size" >&2; return 1; }
        [ "$k" = 4 ] && after_4=$(resident)
    done
    echo "$after_4 $(resident)"
    kill "$qm_scr_pid" 2>/dev/null; qm_scr_unix_pid | xargs -r kill 2>/dev/null; wait "$qm_scr_pid" 2>/dev/null
    [ "$(qm_probe --mode 1920 1080)" = mode=0 ]
}

for scr in "$root/build/windows/quillmere.scr" ${baseline:+"$baseline"}; do
    name=$([ "$scr" = "${baseline:-}" ] && echo baseline || echo shipped)
    for light in 0 1; do
        read -r early late <<<"$(one_run "$scr" "$light")" || exit 1
        [ -n "$late" ] || exit 1
        printf '%s, light %s: %s MiB after 4 changes, %s MiB after %s, %.2f MiB a change\n' "$name" \
            "$light" "$early" "$late" "$changes" "$(awk "BEGIN {print ($late - $early) / ($changes - 4)}")"
    done
done
