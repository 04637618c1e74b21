# Helpers of the settings-dialog tests (sourced after lib.sh).

config_key='HKLM\Software\Tovarind\Quillmere'
config_names="quality speed freq amp radial"

# Replaces the stored settings: config_store QUALITY SPEED FREQ AMP RADIAL
config_store() {
    local name value
    qm_reg delete "$config_key" /f >/dev/null
    qm_reg delete 'HKCU\Software\Tovarind\Quillmere' /f >/dev/null
    for name in $config_names; do
        value=$1
        shift
        qm_reg add "$config_key" /v "$name" /t REG_SZ /d "$value" /f >/dev/null
    done
}

# The five stored texts, space-separated ("-" for a missing value).
config_stored() {
    local name value out=""
    for name in $config_names; do
        value=$(qm_reg query "$config_key" /v "$name" | awk -v n="$name" '$1 == n {print $3}')
        out="$out ${value:--}"
    done
    echo "${out# }"
}

# Opens the dialog with the given switch and sets config_window to its X
# window, with the keyboard given to it.
config_open() {
    qm_start_scr "$@"
    config_window=$(qm_wait_window "Quillmere Config" 40) || qm_fail "no \"Quillmere Config\" window after $*"
    sleep 0.5
    qm_focus "$config_window"
}

# Clicks at a point of the dialog given in dialog units (the template's
# 218 x 202 client area, scaled to the window's pixel size).
config_click() {
    local w h x y
    read -r w h x y < <(qm_window_geometry "$config_window")
    xdotool mousemove $((x + $1 * w / 218)) $((y + $2 * h / 202)) click 1
    sleep 0.3
}

# Control centres, in dialog units.
config_click_radial() { config_click 12 135; }
config_click_cancel() { config_click 186 188; }
config_click_ok() { config_click 132 188; }
config_click_link() { config_click 110 166; }

config_keys() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}

# Waits for the dialog's process to end and checks its exit code is 1.
config_expect_exit_1() {
    qm_wait_exit 20
    [ "$qm_exit" = 1 ] || qm_fail "$1: exit code $qm_exit, expected 1"
}
