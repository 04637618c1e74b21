#!/usr/bin/env bash
# The settings dialog driven as a user would: it opens at the top-left
# corner showing the stored values; keys move the sliders and a click
# ticks the box; OK stores all five as integer text; Cancel, Escape and the
# close command store nothing; /c:HWND makes that window the owner.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
. "$QM_SOURCE_DIR/tests/e2e/config_lib.sh"
qm_e2e_begin config_save 1024x768 || exit 1

# OK untouched rewrites what it shows: truncated, clamped, radial 0/1.
config_store 37.9 150 50 25.5 0.5
config_open /c
read -r w h x y < <(qm_window_geometry "$config_window")
# No window manager: the client area sits just inside Wine's own frame.
[ "$x" -lt 12 ] && [ "$y" -lt 40 ] || qm_fail "the dialog is not at the top-left corner: ${w}x${h}+$x+$y"
qm_screenshot "$qm_work/opened.png"
config_keys Return
config_expect_exit_1 "OK by Enter"
[ "$(config_stored)" = "37 100 50 25 1" ] || qm_fail "OK untouched stored: $(config_stored)"
echo "ok: OK rewrites the shown values as integers"

# Keys on every slider and a click on the box, then the OK button.
# From the box, Shift+Tab walks back through amp, freq, speed, quality.
config_store 50 0 50 25 0
config_open /c
config_click_radial
config_keys shift+Tab End shift+Tab Home shift+Tab Right Right shift+Tab Left Left Left
config_click_ok
config_expect_exit_1 "OK button"
[ "$(config_stored)" = "47 2 0 100 1" ] || qm_fail "after moving the sliders, OK stored: $(config_stored)"
echo "ok: moved sliders and the ticked box are stored"

# Every other way out stores nothing.
for way in cancel escape close; do
    config_store 37.9 150 50 25.5 0.5
    config_open /c
    config_click_radial
    config_keys shift+Tab End shift+Tab Home
    case $way in
        cancel) config_click_cancel ;;
        escape) config_keys Escape ;;
        close) config_keys alt+F4 ;;
    esac
    config_expect_exit_1 "$way"
    [ "$(config_stored)" = "37.9 150 50 25.5 0.5" ] || qm_fail "$way stored: $(config_stored)"
    echo "ok: $way stores nothing"
done

# /c:HWND: the host's window owns the dialog, which still opens top-left.
qm_start_host 320 240 || qm_fail "the host window did not start"
host=$(qm_wait_window "Quillmere test host" 20) || qm_fail "host window not visible"
config_store 50 0 50 25 1
config_open "/c:$qm_host_window"
owner=$(xprop -id "$config_window" WM_TRANSIENT_FOR | awk '{print $NF}')
[ -n "$owner" ] && [ $((owner)) = "$host" ] ||
    qm_fail "the dialog's owner is '$owner', not the host window $host ($qm_host_window)"
read -r w h x y < <(qm_window_geometry "$config_window")
[ "$x" -lt 12 ] && [ "$y" -lt 40 ] || qm_fail "the owned dialog is not at the top-left: +$x+$y"
config_keys Escape
config_expect_exit_1 "/c:HWND then Escape"
qm_close_host
echo PASS
