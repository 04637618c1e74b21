#!/usr/bin/env bash
# The .scr as the host and a user drive it: a table of scenarios (at the end) on one display and Wine server.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin runs 1024x768 || exit 1
key='HKLM\Software\Tovarind\Quillmere'
names="quality speed freq amp radial light rain"

store() {  # QUALITY SPEED FREQ AMP RADIAL LIGHT RAIN, each a text, "-" for none or "dword:N"
    local name k='Software\Tovarind\Quillmere'
    printf 'REGEDIT4\n[-HKEY_CURRENT_USER\\%s]\n[-HKEY_LOCAL_MACHINE\\%s]\n[HKEY_LOCAL_MACHINE\\%s]\n' $k $k $k >"$qm_work/s.reg"
    for name in $names; do
        [[ $1 == - ]] || { [[ $1 == dword:* ]] && echo "\"$name\"=$1" || echo "\"$name\"=\"$1\""; } >>"$qm_work/s.reg"
        shift
    done
    qm_reg import "Z:${qm_work//\//\\}\\s.reg" >/dev/null
}
expect_stored() {  # "Q S F A R L R" WHAT: waits until the key holds these texts
    local name values=($1) pairs=()
    for name in $names; do pairs+=("$name=${values[${#pairs[@]}]}"); done
    qm_reg_expect "$key" "${pairs[@]}" || qm_fail "$2: the key holds ${qm_got//$'\n'/ }, expected $1"
}
expect_running() { qm_wait_exit 0 && [ "$qm_exit" = running ] || qm_fail "$1 ended the run with $qm_exit"; }
# Waits for a visible render window like PATTERN; sets render_line.
render() { qm_until 30 rendering "$@" || qm_fail "$2: no render window like $1: $(qm_probe)"; }
rendering() { expect_running "$2" && render_line=$(qm_probe | grep 'visible=1' | grep -E -- "$1"); }
start_host() {  # Notepad as the host: sets its hwnd, client size and place
    (cd "$qm_work" && exec "$QM_WINE" notepad) &
    host_pid=$!
    qm_wait_window Notepad 20 >/dev/null &&
        [[ $(qm_probe Notepad) =~ hwnd=([0-9]+).*client=([0-9x]+)\+([0-9]+)\+([0-9]+) ]] || qm_fail "no host window"
    host_hwnd=${BASH_REMATCH[1]} host_client=${BASH_REMATCH[2]} host_x=${BASH_REMATCH[3]} host_y=${BASH_REMATCH[4]}
}
# A WM_SYSCOMMAND to CLASS's window, waited for to be iconic or not.
syscommand() { qm_probe "$1" 0x112 "$2" >/dev/null && qm_until 20 iconic "$1" "$3"; }
iconic() { qm_probe "$1" | grep -q "iconic=$2"; }
rests_minimised() {  # CLASS WHAT [VIEW]: minimised, VIEW rests; restored, it draws
    syscommand "$1" 0xF020 1 || qm_fail "$2 did not minimise"
    qm_until 20 rests "${3:-opengl demo}" "$2" || qm_fail "$2 minimised, the frames go on (${drawn:-none} drawn)"
    syscommand "$1" 0xF120 0 || qm_fail "$2 was not restored"
    frames_go_on "$2 restored" "${3:-opengl demo}"
}
# The log names a texture of the shown SIZE (WxH) for the 1024 x 768 screen.
expect_texture() { grep -q "^Texture: ${1/x/ x } for 1024 x 768 shown at ${1/x/ x }, ${2:-}" "$qm_work/screen.log" || qm_fail "$1: $(grep Texture "$qm_work/screen.log")"; }
drawn_by() { [[ $(qm_probe "$1" frames) =~ result=([0-9]+) ]] && drawn=${BASH_REMATCH[1]}; }
frames_go_on() {  # WHAT [VIEW]: the run took the inputs sent and still draws
    local view=${2:-opengl demo} before && drawn_by "$view" && before=$drawn && qm_until 20 drew_since "$before" "$1" "$view" || qm_fail "$1: no frames (${drawn:-none} drawn)"
}
drew_since() { expect_running "$2" && drawn_by "$3" && [ "$drawn" -gt "$1" ]; }
rests() {  # VIEW WHAT: the count held through ten looks, the run alive at each
    local before look && drawn_by "$1" && before=$drawn || return 1
    for look in {1..10}; do expect_running "$2" && drawn_by "$1" && [ "$drawn" = "$before" ] || return 1; done
}

imports() {  # only KnownDLLs, never taken from the .scr's folder
    local dll table=$(x86_64-w64-mingw32-objdump -p "$QM_SCR")
    for dll in $(awk '/DLL Name:/ {print tolower($3)}' <<<"$table"); do
        [[ " advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll " == *" $dll "* ]] || qm_fail "quillmere.scr imports $dll"
    done
    [ -n "${dll:-}" ] || qm_fail "no imports read from $QM_SCR"
    [[ $table != *SetDefaultDllDirectories* ]] || qm_fail "imports SetDefaultDllDirectories, which stops it on Windows 7"
    # Its manifest (resource type 24): per-monitor DPI, Windows 10/11, asInvoker, themed controls.
    grep -q 'Entry: ID: 0x000018' <<<"$table" || qm_fail "no manifest resource"
    local manifest=$(strings -n 6 "$QM_SCR" | sed -n '/<assembly /,/<\/assembly>/p') part
    for part in '>PerMonitorV2<' '>true</dpiAware>' 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a asInvoker 'Controls" version="6.0.0.0"'; do [[ $manifest == *"$part"* ]] || qm_fail "the manifest lacks $part"; done
}

expect_log() {  # FILE WHAT: one run's (truncated), opened and closed with the time, CRLF line ends
    local time='[A-Z][a-z]{2} [A-Z][a-z]{2} [0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}' log=$(tr -d '\r' <"$1" | paste -sd'|')
    local lines="^log open: $time\|(.*\|)?Init water saver\|(.*\|)?log close: $time\|$"
    [[ $log =~ $lines ]] && ! [[ $log =~ WARNING|ERROR|left ]] || qm_fail "$2: screen.log: $log"
    [ "$(tail -c 4 "$1" | od -An -c | tr -d ' ')" = '\r\n\r\n' ] || qm_fail "$2: no CRLF line ends"
}

expect_paced() {  # FILE COUNT RATE WHAT: each window's pace and count logged, none above RATE (within 2 %)
    local log=$(tr -d '\r' <"$1") started ended
    started=$(grep -c "^Frames: paced to $3 a second (display 60 Hz, swap interval $((60 / $3)) asked)$" <<<"$log")
    ended=$(grep -cE '^Frames: [1-9][0-9]* in [0-9]+\.[0-9] s \([0-9]+\.[0-9] a second\)$' <<<"$log")
    [ "$started" = "$2" ] && [ "$ended" = "$2" ] || qm_fail "$4: $2 window(s) paced at $3 and counted: $(grep Frames <<<"$log")"
    awk -v most="$3" -v what="$4" '/^Frames: [0-9]+ in/ {rate = substr($6, 2) + 0} /^Frames: paced to/ {rate = $4 + 0}
        rate > most * 1.02 { print what ": " $0 " is above " most; bad = 1 } {rate = 0} END {exit bad}' <<<"$log" ||
        qm_fail "$4: frames above their rate"
    echo "$4: $(grep '^Frames' <<<"$log" | paste -sd ';')"
}

# /a stores the defaults as text. Where screen.log is a folder, the log is in %LOCALAPPDATA%\Quillmere, made by the
# first run, found by the second; the name in two scripts catches a path not kept whole in UTF-8.
log_elsewhere() {
    local qm_work=$qm_work/elsewhere local_app="$qm_work/elsewhere/Zoë Дом" run
    mkdir -p "$qm_work/screen.log" "$local_app"
    store - - - - - - -
    for run in "a new folder" "a folder there"; do
        (cd "$qm_work" && LC_ALL=C.UTF-8 exec "$QM_WINE" cmd /c set "LOCALAPPDATA=Z:${local_app//\//\\}" "&&" \
            "Z:${QM_PROBE//\//\\}" --run "Z:${QM_SCR//\//\\}" /a >"$qm_work/exit.txt") &
        qm_scr_pid=$!
        qm_expect_exit 1 "/a, $run"
        expect_log "$local_app/Quillmere/screen.log" "/a, $run"
        expect_stored "50 0 50 25 1 0 0" "/a, $run"
        printf 'left over\r\n' >>"$local_app/Quillmere/screen.log"
    done
}

# /s: movement and the middle button go by, a key ends it; texts stay, other types get their defaults.
screensaver_key() {
    store 77 abc - dword:7 - dword:1 250
    printf 'left over\r\n' >"$qm_work/screen.log"
    qm_start_scr /s
    render "outer=1024x768\+0\+0 .* topmost=1 " /s
    qm_focused
    xdotool mousemove 100 100 mousemove 700 500 click 2
    frames_go_on "/s: mouse movement or the middle button"
    xdotool key x; qm_expect_exit 1 "/s ended by a key"
    expect_stored "77 abc 50 25 1 0 250" "after /s"
    expect_log "$qm_work/screen.log" /s
    expect_paced "$qm_work/screen.log" 1 60 /s
}

screensaver_buttons() {  # -S ends on the left button, /x on the right
    qm_start_scr -S && render . -S && xdotool mousemove 500 400 mousedown 1; qm_expect_exit 1 "-S ended by the left button"
    qm_start_scr /x && render . /x && xdotool mouseup 1 mousedown 3; qm_expect_exit 1 "/x ended by the right button"
    xdotool mouseup 3
}

screen_mode() {  # WIDTH HEIGHT: as a user would, till the run's log tells it
    xrandr | grep -q "^ *$1x$2 " || { xrandr --newmode "$1x$2" 0 "$1" 0 0 0 "$2" 0 0 0 && xrandr --addmode screen "$1x$2"; }
    [ "$(qm_probe --mode "$1" "$2")" = mode=0 ] && qm_until 30 grep -q "^Screen changed: $1 x $2 at 0, 0, 1 monitor(s)" "$qm_work/screen.log" ||
        qm_fail "no screen change to $1 x $2: $(grep Screen "$qm_work/screen.log")"
}
# No switch: keys and clicks go by; Tab gives a new 640 x 480 window, which a screen change leaves as it is, drawing.
demo() {
    local first
    qm_start_scr
    render "outer=1024x768\+0\+0 .* topmost=0 " demo
    first=${render_line%% *}
    qm_focused
    xdotool key a key Return key space click 1 click 3 key Tab
    render "outer=640x480\+" "Tab after keys and clicks"
    [ "${render_line%% *}" != "$first" ] || qm_fail "Tab kept the window"
    rests_minimised "opengl demo" "the window"
    screen_mode 800 600 && frames_go_on "a screen change under the window"
    qm_probe | grep -q "outer=640x480+" || qm_fail "a screen change moved the window: $(qm_probe)"
    screen_mode 1024 768
    qm_focused && xdotool key Tab
    render "outer=1024x768\+0\+0 " "second Tab"
    qm_focused && xdotool keydown Escape; frames_go_on "pressing Esc"
    xdotool keyup Escape; qm_expect_exit 1 "releasing Esc"
    expect_paced "$qm_work/screen.log" 3 60 demo
}

# /p HWND: a child over the host's client area, not ended by input, ends when the host dies; no such window: a box.
preview() {
    start_host
    qm_start_scr /p "$host_hwnd"
    render "parent=$host_hwnd outer=$host_client\+.* client=$host_client\+.* topmost=0 " "/p"
    expect_texture "$host_client" "clamped to its edge, mipmaps"
    xdotool mousemove $((host_x + 60)) $((host_y + 60)) click 1 click 3
    qm_probe "opengl demo" 0x100 0x41 >/dev/null
    frames_go_on "/p: keys and clicks"
    rests_minimised Notepad "/p's host"
    kill -9 "$host_pid"; qm_expect_exit 1 "/p after the host's process died"
    expect_paced "$qm_work/screen.log" 1 30 /p
    qm_start_scr /p 12345; qm_focused "^ Fatal error in GetClientRect $" && xdotool key Return; qm_expect_exit 0 "/p 12345 after the box"
}

open_dialog() {  # top-left, focused; sets WIDTH HEIGHT X Y and pane, the water pane's client WxH+X+Y
    qm_start_scr "$@" && qm_focused "Quillmere Config"
    [ "$X" -lt 12 ] && [ "$Y" -lt 40 ] || qm_fail "$*: the dialog is not top-left: +$X+$Y"
    [[ $(qm_probe WATER_PANE) =~ client=([0-9]+x[0-9]+\+[0-9]+\+[0-9]+) ]] || qm_fail "$*: no water pane"
    pane=${BASH_REMATCH[1]}
}
# Clicks a point given in dialog units of the 425 x 232 template.
click() { xdotool mousemove $((X + $1 * WIDTH / 425)) $((Y + $2 * HEIGHT / 232)) click 1; }
# A desktop the same turned half round, as is a pane of rings on it, but not crossed waves or drops.
turned_desktop() {
    "$QM_SOURCE_DIR/scripts/sample_desktop" "$qm_work/half.png" 1024x768 &&
        convert "$qm_work/half.png" -crop 512x768+0+0 +repage \( +clone -rotate 180 \) +append "$qm_work/desk.png" ||
        qm_fail "no desktop picture"
    display -window root "$qm_work/desk.png" >/dev/null 2>&1  # which says 1 when it has set it
}
# A look at the pane, kept as NAME.png; how many pixels of two looks differ by more than 10 %.
look() { qm_screenshot "$qm_work/screen.png" && convert "$qm_work/screen.png" -crop "$pane" +repage "$qm_work/$1.png"; }
differ() { compare -metric AE -fuzz 10% "$qm_work/$1.png" "$qm_work/$2.png" null: 2>&1 | awk '{printf "%d", $1}'; }
# Whether the pixels a look differs by from itself turned half round are -lt 100 (symmetric) or -gt 2000 (askew).
turned() { look now && convert "$qm_work/now.png" -rotate 180 "$qm_work/turned.png" && [ "$(differ now turned)" "$@" ]; }
rippling() { look a && look b && [ "$(differ a b)" -gt 1000 ]; }
still() { look still && look again && [ "$(differ still again)" = 0 ] && [ "$(compare -metric AE "$qm_work/still.png" "$qm_work/again.png" null: 2>&1)" = 0 ]; }
# The pane follows the controls before OK: Home on the rain's slider, then rings, crossed waves, amplitude 0.
pane_follows_the_controls() {
    expect_texture "${pane%%+*}" "clamped to its edge, mipmaps"
    xdotool key Tab Tab Tab Tab Tab Tab Home
    qm_until 20 rippling || qm_fail "the pane does not ripple"
    qm_until 20 turned -lt 100 && turned -lt 100 && turned -lt 100 || qm_fail "rings and no rain: the pane is not symmetric ($(differ now turned))"
    xdotool key Tab space
    qm_until 20 turned -gt 2000 || qm_fail "crossed waves: the pane is still symmetric ($(differ now turned))"
    xdotool key shift+Tab shift+Tab Home
    desktop_shown "amplitude 0"
    [ "$(differ a still)" -gt 1000 ] && [ "$(differ b still)" -gt 1000 ] || qm_fail "rippling: $(differ a still), $(differ b still) pixels off the desktop"
}
desktop_shown() {  # WHAT: the pane stills to the desktop itself, shrunk
    qm_until 20 still || qm_fail "$1: the pane does not still"
    convert "$qm_work/desk.png" -resize "${pane%%+*}!" "$qm_work/small.png"
    [ "$(differ still small)" -lt 500 ] || qm_fail "$1: still, $(differ still small) pixels off the desktop"
}
pane_without_gl() {  # a line of text in the pane, the reason in the log, the dialog as ever
    local text="No OpenGL here: the water can't be shown"
    qm_probe WATER_PANE | grep -q "visible=1 .* text=$text$" || qm_fail "no OpenGL: $(qm_probe WATER_PANE)"
    look text && [ "$(convert "$qm_work/text.png" -format '%k' info:)" -gt 1 ] || qm_fail "no OpenGL: the pane shows no text"
    grep -q "^WARNING: the settings dialog shows no water: LoadLibraryExW failed (.\+)" "$qm_work/screen.log" ||
        qm_fail "no OpenGL: the log says $(cat "$qm_work/screen.log")"
}
move_controls() {  # radial by a click, light by space; rain a page up, amp 100, freq 0, speed +2, quality -3
    click 12 165
    xdotool key Tab space shift+Tab shift+Tab Next shift+Tab End shift+Tab Home shift+Tab Right Right shift+Tab Left Left Left
}

underlined() {  # RECT: blue, with a row of blue along it
    qm_screenshot "$qm_work/dialog.png" && [ "$(convert "$qm_work/dialog.png" -crop "$1" -fx 'b>0.6&&r<0.3&&g<0.3' \
        -morphology Erode Rectangle:100x1 -format '%[fx:maxima]' info:)" = 1 ]
}
# Cancel (after the link opened its address), Escape in a dialog owned by /c:HWND and closing store nothing. OK
# stores all seven as integer text: what it shows (cut, held to 0..100, radial 0 or 1, light 0 unless 0..1).
dialog() {
    local opened=$WINEPREFIX/drive_c/quillmere_opened.txt
    rm -f "$opened"
    qm_reg add 'HKLM\Software\Classes\https\shell\open\command' /ve \
        /d 'C:\windows\system32\cmd.exe /c echo %1> C:\quillmere_opened.txt' /f >/dev/null
    store 37.9 150 50 25.5 0.5 1e99 250
    scaled 96 && turned_desktop
    open_dialog /c
    first_pane=$pane
    pane_follows_the_controls
    [[ $(qm_probe STATIC_HYPER 0x0E 0) =~ outer=([0-9x]+\+[0-9]+\+[0-9]+).*result=26 ]] || qm_fail "link: $(qm_probe STATIC_HYPER)"
    qm_until 20 underlined "${BASH_REMATCH[1]}" || qm_fail "the link is not underlined"
    move_controls && click 110 196
    qm_until 20 grep -q 'https://quillmere.example/' "$opened" 2>/dev/null || qm_fail "the link opened nothing"
    click 393 218; qm_expect_exit 1 Cancel
    start_host && open_dialog "/c:$host_hwnd"
    qm_probe '#32770' | grep -q "owner=$host_hwnd text=" || qm_fail "the dialog's owner is not $host_hwnd: $(qm_probe '#32770')"
    rests_minimised '#32770' "the dialog" WATER_PANE && qm_focused "Quillmere Config"
    move_controls && xdotool key Escape; qm_expect_exit 1 Escape
    qm_probe Notepad 0x10 0 >/dev/null
    open_dialog /c && move_controls && xdotool key alt+F4; qm_expect_exit 1 "closing the dialog"
    expect_stored "37.9 150 50 25.5 0.5 1e99 250" "Cancel, Escape or closing"
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;opengl32=d" open_dialog /c && pane_without_gl
    xdotool key Tab Tab Right Left Return; qm_expect_exit 1 "OK by Enter"
    expect_stored "37 100 50 25 1 0 100" "OK untouched"
    store 50 0 50 0 0 0 0
    scaled 144 && open_dialog /c && pane_scaled 1.5 && desktop_shown "amplitude 0 at 150 %" && move_controls
    qm_until 20 rippling || qm_fail "at 150 %: the pane does not ripple"
    click 339 218; qm_expect_exit 1 "the OK button"
    scaled 96 && expect_stored "47 2 0 100 1 1 20" "OK after keys at 150 %"
}
# The next runs at DPI dots per inch (96: 100 %).
scaled() { qm_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null; }
pane_scaled() {  # FACTOR, within a tenth, from the first dialog's pane; its texture too
    local size=${pane%%+*}
    awk -v w="${size%x*}" -v first="${first_pane%%x*}" -v f="$1" 'BEGIN {exit !(w >= first * (f - 0.1) && w <= first * (f + 0.1))}' ||
        qm_fail "at $1 times the pane is $size, at 100 % $first_pane"
    expect_texture "$size"
}

# QM_SCENARIOS picks rows by name (CTest runs them in two halves).
for scenario in ${QM_SCENARIOS:-imports screensaver_key screensaver_buttons demo preview log_elsewhere dialog}; do
    declare -F "$scenario" >/dev/null || qm_fail "no scenario named $scenario"
    "$scenario" && echo "ok: $scenario at $SECONDS s"
done
echo PASS
