#!/usr/bin/env bash
# The .scr as the host and a user drive it: a table of scenarios (at the
# end), each one run or a few, all on one display and one Wine server.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin runs 1024x768 || exit 1
key='HKLM\Software\Tovarind\Quillmere'
names="quality speed freq amp radial light rain"

# Replaces the stored settings: store QUALITY SPEED FREQ AMP RADIAL LIGHT
# RAIN, each a text, "-" for none or "dword:N" for a number.
store() {
    local name k='Software\Tovarind\Quillmere'
    printf 'REGEDIT4\n[-HKEY_CURRENT_USER\\%s]\n[-HKEY_LOCAL_MACHINE\\%s]\n[HKEY_LOCAL_MACHINE\\%s]\n' $k $k $k >"$qm_work/s.reg"
    for name in $names; do
        [[ $1 == - ]] || { [[ $1 == dword:* ]] && echo "\"$name\"=$1" || echo "\"$name\"=\"$1\""; } >>"$qm_work/s.reg"
        shift
    done
    qm_reg import "Z:${qm_work//\//\\}\\s.reg" >/dev/null
}
# Fails unless the seven stored texts ("-" for missing or not text) are these.
expect_stored() {  # "Q S F A R L R" WHAT
    local got=$(qm_reg query "$key" | awk -v names="$names" '$2 == "REG_SZ" {v[$1] = $3}
        END {n = split(names, k, " "); for (i = 1; i <= n; i++) printf "%s%s", (k[i] in v ? v[k[i]] : "-"), (i < n ? " " : "")}')
    [ "$got" = "$1" ] || qm_fail "$2: the key holds $got, expected $1"
}
expect_running() { qm_wait_exit 0 && [ "$qm_exit" = running ] || qm_fail "$1 ended the run with $qm_exit"; }
focus() { qm_focus "${1:-^Quillmere$}" || qm_fail "no keyboard focus"; }
# Waits for a visible render window whose probe line matches PATTERN and
# sets render_line to it. Usage: render PATTERN WHAT
render() { qm_until 30 rendering "$@" || qm_fail "$2: no render window like $1: $(qm_probe)"; }
rendering() { expect_running "$2" && render_line=$(qm_probe | grep 'visible=1' | grep -E -- "$1") && scr=$(qm_scr_unix_pid); }
# Notepad stands in for the screensaver host: sets its hwnd and its client
# area's size and place; a WM_CLOSE ends it.
start_host() {
    (cd "$qm_work" && exec "$QM_WINE" notepad) &
    host_pid=$!
    qm_wait_window Notepad 20 >/dev/null &&
        [[ $(qm_probe Notepad) =~ hwnd=([0-9]+).*client=([0-9x]+)\+([0-9]+)\+([0-9]+) ]] || qm_fail "no host window"
    host_hwnd=${BASH_REMATCH[1]} host_client=${BASH_REMATCH[2]} host_x=${BASH_REMATCH[3]} host_y=${BASH_REMATCH[4]}
}
close_host() { qm_probe Notepad 0x10 0 >/dev/null; }
# Sends a WM_SYSCOMMAND to CLASS's window and waits for it to be iconic or
# not (on a busy machine the window may take its time).
syscommand() { qm_probe "$1" 0x112 "$2" >/dev/null && qm_until 20 iconic "$1" "$3"; }
iconic() { qm_probe "$1" | grep -q "iconic=$2"; }
# Processor time the run has used, in clock ticks.
cpu_ticks() { local stat && read -r stat <"/proc/$scr/stat" && set -- ${stat##*) } && echo $((${12} + ${13})); }
# Waits for the run to use another 0.3 s of processor time: frames went on
# after every input sent before, so it has taken them, and still runs.
frames_go_on() {  # WHAT
    local ticks
    ticks=$(cpu_ticks) && qm_until 20 used_since "$ticks" "$1" || qm_fail "$1: no frames"
}
used_since() { expect_running "$2" && [ $(($(cpu_ticks) - $1)) -ge 30 ]; }
# Looks at the run's main thread every 10 ms until COUNT looks have found
# it in a timed sleep (under Wine, Sleep is a select or nanosleep system
# call), for at most LIMIT looks; prints the looks taken and those asleep.
asleep_looks() {  # COUNT LIMIT
    local looks=0 asleep=0 call rest
    while [ $asleep -lt "$1" ] && [ $looks -lt "$2" ]; do
        read -r call rest <"/proc/$scr/task/$scr/syscall" || break
        case $call in 23 | 35 | 230 | 270) asleep=$((asleep + 1)) ;; esac
        looks=$((looks + 1)) && sleep 0.01
    done
    echo "$looks $asleep"
}

# The .scr needs nothing beside it and imports only KnownDLLs, which Windows
# never takes from the .scr's own folder.
imports() {
    local dll table=$(x86_64-w64-mingw32-objdump -p "$QM_SCR")
    for dll in $(awk '/DLL Name:/ {print tolower($3)}' <<<"$table"); do
        [[ " advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll " == *" $dll "* ]] ||
            qm_fail "quillmere.scr imports $dll"
    done
    [ -n "${dll:-}" ] || qm_fail "no imports read from $QM_SCR"
    [[ $table != *SetDefaultDllDirectories* ]] || qm_fail "imports SetDefaultDllDirectories, which stops it on Windows 7"
    # Its manifest (resource type 24): per-monitor DPI, Windows 10/11, asInvoker, themed controls.
    grep -q 'Entry: ID: 0x000018' <<<"$table" || qm_fail "no manifest resource"
    local manifest=$(strings -n 6 "$QM_SCR" | sed -n '/<assembly /,/<\/assembly>/p') part
    for part in '>PerMonitorV2<' '>true</dpiAware>' 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a asInvoker 'Controls" version="6.0.0.0"'; do
        [[ $manifest == *"$part"* ]] || qm_fail "the manifest lacks $part"
    done
}

# Fails unless the log FILE is one run's, truncated (no "left over"), opened
# and closed with the time around the scene's line, with CRLF line ends.
expect_log() {  # FILE WHAT
    local time='[A-Z][a-z]{2} [A-Z][a-z]{2} [0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}' log
    local lines="^log open: $time\|(.*\|)?Init water saver\|(.*\|)?log close: $time\|$"
    log=$(tr -d '\r' <"$1" | paste -sd'|')
    [[ $log =~ $lines ]] && ! [[ $log =~ WARNING|ERROR|left ]] || qm_fail "$2: screen.log: $log"
    [ "$(tail -c 4 "$1" | od -An -c | tr -d ' ')" = '\r\n\r\n' ] || qm_fail "$2: no CRLF line ends"
}

# /a on a fresh key: exit code 1, the seven defaults as text, and the log.
password_run() {
    store - - - - - - -
    printf 'left over\r\n' >"$qm_work/screen.log"
    qm_start_scr /a
    qm_expect_exit 1 /a
    expect_stored "50 0 50 25 1 0 0" "a fresh key"
    expect_log "$qm_work/screen.log" /a
}

# A working directory that takes no log (a folder named screen.log, which not
# even root can open for writing): the log goes to %LOCALAPPDATA%\Quillmere,
# a folder made by the first run and found by the second. cmd sets a name in
# two scripts (Wine replaces a Unix LOCALAPPDATA), kept whole in UTF-8.
log_elsewhere() {
    local qm_work=$qm_work/elsewhere local_app="$qm_work/elsewhere/Zoë Дом" run
    mkdir -p "$qm_work/screen.log" "$local_app"
    for run in "a new folder" "a folder there"; do
        (cd "$qm_work" && LC_ALL=C.UTF-8 exec "$QM_WINE" cmd /c set "LOCALAPPDATA=Z:${local_app//\//\\}" "&&" \
            "Z:${QM_PROBE//\//\\}" --run "Z:${QM_SCR//\//\\}" /a >"$qm_work/exit.txt") &
        qm_scr_pid=$!
        qm_expect_exit 1 "/a, $run"
        expect_log "$local_app/Quillmere/screen.log" "/a, $run"
        printf 'left over\r\n' >>"$local_app/Quillmere/screen.log"
    done
}

# /s: full screen; mouse movement and the middle button go by; a pause after
# each frame; a key press ends it. Start-up kept the texts there and gave
# missing and numeric values their defaults.
screensaver_key() {
    store 77 abc - dword:7 - dword:1 250
    qm_start_scr /s
    render "outer=1024x768\+0\+0 .* topmost=1 " /s
    focus
    xdotool mousemove 100 100 mousemove 700 500 click 2
    frames_go_on "/s: mouse movement or the middle button"
    read -r looks asleep < <(asleep_looks 5 2000)
    [ "$asleep" = 5 ] || qm_fail "/s: no pause after the frames ($asleep of $looks looks asleep)"
    xdotool key x
    qm_expect_exit 1 "/s ended by a key"
    expect_stored "77 abc 50 25 1 0 250" "after /s"
}

# -S ends on the left button, /x on the right.
screensaver_buttons() {
    qm_start_scr -S && render . -S && xdotool mousemove 500 400 mousedown 1
    qm_expect_exit 1 "-S ended by the left button"
    qm_start_scr /x && render . /x && xdotool mouseup 1 mousedown 3
    qm_expect_exit 1 "/x ended by the right button"
    xdotool mouseup 3
}

# No switch: keys and clicks go by, no pause after the frames; Tab gives a
# new 640 x 480 window, where minimising stops the frames and restoring
# resumes them; Tab again gives full screen; Esc ends the run on release.
demo() {
    local first ticks
    qm_start_scr
    render "outer=1024x768\+0\+0 .* topmost=0 " demo
    first=${render_line%% *}
    focus
    xdotool key a key Return key space click 1 click 3 key Tab
    render "outer=640x480\+" "Tab after keys and clicks"
    [ "${render_line%% *}" != "$first" ] || qm_fail "Tab kept the window"
    read -r _ asleep < <(asleep_looks 5 $((${looks:-0} < 50 ? 100 : 2 * looks)))
    [ "$asleep" -le 1 ] || qm_fail "the demonstration pauses after its frames"
    syscommand "opengl demo" 0xF020 1 || qm_fail "the window did not minimise"
    ticks=$(cpu_ticks) && asleep_looks 1 100 >/dev/null
    [ $(($(cpu_ticks) - ticks)) -le 5 ] || qm_fail "minimised, the frames go on"
    syscommand "opengl demo" 0xF120 0 || qm_fail "the window was not restored"
    frames_go_on "restored"
    focus && xdotool key Tab
    render "outer=1024x768\+0\+0 " "second Tab"
    focus && xdotool keydown Escape
    frames_go_on "pressing Esc"
    xdotool keyup Escape
    qm_expect_exit 1 "releasing Esc"
}

# Whether the run used at most 5 clock ticks while its main thread was
# found asleep at 20 looks.
idle() { local ticks=$(cpu_ticks) && asleep_looks 20 200 >/dev/null && [ $(($(cpu_ticks) - ticks)) -le 5 ]; }
# /p HWND: a child over the host's client area, not topmost, that keys and
# clicks do not end; idle while the host is minimised; ending with exit code
# 1 when the host's process dies. A handle that names no window: the
# fatal-error box, then exit code 0.
preview() {
    start_host
    qm_start_scr /p "$host_hwnd"
    render "parent=$host_hwnd outer=$host_client\+.* client=$host_client\+.* topmost=0 " "/p"
    # Its texture: a copy of about its own size, not the whole desktop.
    grep -q "^Texture: ${host_client/x/ x } for 1024 x 768 shown at ${host_client/x/ x }, clamped to its edge, mipmaps" \
        "$qm_work/screen.log" || qm_fail "/p: $(grep Texture "$qm_work/screen.log")"
    # Clicks through the pointer; a key press handed to the child itself.
    xdotool mousemove $((host_x + 60)) $((host_y + 60)) click 1 click 3
    qm_probe "opengl demo" 0x100 0x41 >/dev/null
    frames_go_on "/p: keys and clicks"
    syscommand Notepad 0xF020 1 || qm_fail "the host did not minimise"
    qm_until 20 idle || qm_fail "/p draws while its host is minimised"
    qm_probe Notepad 0x112 0xF120 >/dev/null && frames_go_on "/p: host restored"
    kill -9 "$host_pid"
    qm_expect_exit 1 "/p after the host's process died"
    qm_start_scr /p 12345
    focus "^ Fatal error in GetClientRect $" && xdotool key Return
    qm_expect_exit 0 "/p 12345 after the box"
}

# Opens the settings dialog at the top-left corner with the keyboard; its
# geometry is in WIDTH HEIGHT X Y.
open_dialog() {
    qm_start_scr "$@"
    focus "Quillmere Config"
    # No window manager: the client area sits just inside Wine's own frame.
    [ "$X" -lt 12 ] && [ "$Y" -lt 40 ] || qm_fail "$*: the dialog is not top-left: +$X+$Y"
}
# Clicks a point given in dialog units of the 218 x 232 template.
click() { xdotool mousemove $((X + $1 * WIDTH / 218)) $((Y + $2 * HEIGHT / 232)) click 1; }
# Toggles "Radial waves" with a click, Tab to "Light on the water" and
# toggles it, then walks back: rain a page up, amp to 100, freq to 0,
# speed +2, quality -3.
move_controls() {
    click 12 165
    xdotool key Tab space shift+Tab shift+Tab Next shift+Tab End shift+Tab Home shift+Tab Right Right shift+Tab Left Left Left
}

# OK stores all seven as integer text: untouched, what it shows (cut, held to
# 0..100, radial 0 or 1, light 0 unless 0..1); after keys and a click, what
# they set.
dialog_ok() {
    store 37.9 150 50 25.5 0.5 1e99 250
    open_dialog /c && xdotool key Return
    qm_expect_exit 1 "OK by Enter"
    expect_stored "37 100 50 25 1 0 100" "OK untouched"
    store 50 0 50 25 0 0 0
    open_dialog /c && move_controls && click 132 218
    qm_expect_exit 1 "the OK button"
    expect_stored "47 2 0 100 1 1 20" "OK after keys"
}

# The dialog's link shows in its rectangle blue, with a row of blue along it.
underlined() {
    qm_screenshot "$qm_work/dialog.png" && [ "$(convert "$qm_work/dialog.png" -crop "$1" -fx 'b>0.6&&r<0.3&&g<0.3' \
        -morphology Erode Rectangle:100x1 -format '%[fx:maxima]' info:)" = 1 ]
}
# Cancel (after a click on the link, which opens its address), Escape in a
# dialog owned by the host's window (/c:HWND), and closing store nothing.
dialog_no_store() {
    local opened=$WINEPREFIX/drive_c/quillmere_opened.txt
    rm -f "$opened"
    # The browser of this test's own prefix writes down what it opens.
    qm_reg add 'HKLM\Software\Classes\https\shell\open\command' /ve \
        /d 'C:\windows\system32\cmd.exe /c echo %1> C:\quillmere_opened.txt' /f >/dev/null
    store 37.9 150 50 25.5 0.5 0 33.5
    open_dialog /c
    # The link answers text queries truly and shows whole and underlined.
    [[ $(qm_probe STATIC_HYPER 0x0E 0) =~ outer=([0-9x]+\+[0-9]+\+[0-9]+).*result=26 ]] || qm_fail "link: $(qm_probe STATIC_HYPER)"
    qm_until 20 underlined "${BASH_REMATCH[1]}" || qm_fail "the link is not underlined"
    move_controls && click 110 196
    qm_until 20 grep -q 'https://quillmere.example/' "$opened" 2>/dev/null || qm_fail "the link opened nothing"
    click 186 218
    qm_expect_exit 1 Cancel
    start_host
    open_dialog "/c:$host_hwnd"
    qm_probe '#32770' | grep -q "owner=$host_hwnd$" || qm_fail "the dialog's owner is not $host_hwnd: $(qm_probe '#32770')"
    move_controls && xdotool key Escape
    qm_expect_exit 1 Escape
    close_host
    open_dialog /c && move_controls && xdotool key alt+F4
    qm_expect_exit 1 "closing the dialog"
    expect_stored "37.9 150 50 25.5 0.5 0 33.5" "Cancel, Escape or closing"
}

# QM_SCENARIOS picks rows by name (CTest runs the table in two halves).
for scenario in ${QM_SCENARIOS:-imports password_run screensaver_key screensaver_buttons demo \
    preview log_elsewhere dialog_ok dialog_no_store}; do
    "$scenario" && echo "ok: $scenario at $SECONDS s"
done
echo PASS
