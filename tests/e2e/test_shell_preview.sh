#!/usr/bin/env bash
# The preview: a child window covering the host's client area that keys
# and clicks do not end, and that ends with the run when the host destroys
# its window. A preview handle that names no window is a fatal start-up
# error, reported in a box; dismissing it gives exit code 0.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin shell_preview 1024x768 || exit 1

qm_start_host 320 240 || qm_fail "the host window did not start"
qm_start_scr /p "$qm_host_window"

child=""
for ((i = 0; i < 100; i++)); do
    child=$(qm_probe | grep "parent=$qm_host_window ")
    [ -n "$child" ] && break
    sleep 0.3
done
[ -n "$child" ] || qm_fail "no render window inside host $qm_host_window"
case $child in
    *"outer=320x240+"*" client=320x240 "*) ;;
    *) qm_fail "the preview does not cover the host's client area: $child" ;;
esac

host=$(qm_wait_window "Quillmere test host" 10) || qm_fail "host window not visible"
qm_focus "$host"
xdotool click 1 click 3 key a key space
sleep 1
qm_wait_exit 0
[ "$qm_exit" = running ] || qm_fail "a key or click ended the preview"

qm_close_host
qm_wait_exit 20
[ "$qm_exit" = 1 ] || qm_fail "after the host closed its window: $qm_exit, expected exit code 1"
echo "ok: preview ends with its host"

# A handle that is no window.
qm_start_scr /p 12345
box=$(qm_wait_window " Fatal error in GetClientRect " 30) || qm_fail "no fatal-error box for /p 12345"
qm_focus "$box"
xdotool key Return
qm_wait_exit 15
[ "$qm_exit" = 0 ] || qm_fail "after the fatal-error box: exit code $qm_exit, expected 0"
echo PASS
