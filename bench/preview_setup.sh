#!/usr/bin/env bash
# The preview's set-up time, from the render window's creation to its first
# frame (the run log's "First frame" line), on one private Xvfb per screen
# size, with Notepad as the host: build/windows/quillmere.scr beside a
# baseline .scr, alternating, each REPETITIONS times; prints the medians
# and their ratio.
#   bench/preview_setup.sh BASELINE.scr [REPETITIONS]   (default 5)
# A baseline: the same source with tests/faults/scene-preview-full-size-texture.patch
# applied (the whole picture and its mipmaps uploaded into the preview).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
baseline=$(realpath "${1:?usage: bench/preview_setup.sh BASELINE.scr [REPETITIONS]}")
repetitions=${2:-5}
. "$root/tests/harness/lib.sh"
export WINEPREFIX=$root/build/bench-prefix
qm_ensure_prefix "$WINEPREFIX" || exit 1
work=$root/build/bench-preview && mkdir -p "$work"
QM_PROBE=$root/build/windows/tests/win_probe.exe qm_work=$work
trap 'qm_stop_wine; qm_stop_xvfb' EXIT

one_run() {  # SCR: prints the milliseconds to the first frame
    local scr=$1 line
    QM_SCR=$scr qm_start_scr /p "$host"
    qm_until 60 grep -q '^First frame' "$work/screen.log" 2>/dev/null || { echo "no first frame" >&2; return 1; }
    line=$(grep '^First frame' "$work/screen.log")
    kill "$qm_scr_pid" 2>/dev/null; qm_scr_unix_pid | xargs -r kill 2>/dev/null; wait "$qm_scr_pid" 2>/dev/null
    rm -f "$work/screen.log"
    awk '{print $3}' <<<"$line"
}
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

for size in 1920x1080 7680x2160; do
    qm_start_xvfb "$size" || exit 1
    "$QM_WINESERVER" -p
    (cd "$work" && exec "$QM_WINE" notepad) & notepad=$!
    qm_wait_window Notepad 30 >/dev/null || exit 1
    host=$(qm_probe Notepad | sed -n 's/^hwnd=\([0-9]*\).*/\1/p' | head -n 1)
    shipped=() base=()
    for ((k = 0; k < repetitions; k++)); do
        base+=("$(one_run "$baseline")") && shipped+=("$(one_run "$root/build/windows/quillmere.scr")") || exit 1
    done
    kill "$notepad" 2>/dev/null
    qm_stop_wine && qm_stop_xvfb
    s=$(printf '%s\n' "${shipped[@]}" | median) b=$(printf '%s\n' "${base[@]}" | median)
    printf '%s: shipped %s ms, baseline %s ms, ratio %.3f (runs: %s | %s)\n' "$size" "$s" "$b" \
        "$(awk "BEGIN {print $s / $b}")" "${shipped[*]}" "${base[*]}"
done
