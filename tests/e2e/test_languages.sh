#!/usr/bin/env bash
# The .scr and the installer in each language; a Wine server for each row, as Wine reads the locale as it starts.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin languages 1024x768 || exit 1
fit=$(dirname "$QM_PROBE")/dialog_fit.exe
# Wine's stand-ins for MS Sans Serif and Tahoma with their metrics, which Debian's Wine does not load by itself.
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || qm_fail "no fonts-wine"
# A display language (LC_MESSAGES) and code page (LC_CTYPE) apart need locales; an unknown LC_ALL only Wine reads.
locales=$qm_work/locales && mkdir -p "$locales"
for locale in ja_JP en_US; do
    localedef -c -i $locale -f UTF-8 "$locales/$locale.UTF-8" >/dev/null 2>&1 || [ -d "$locales/$locale.UTF-8" ] || qm_fail "no locale $locale"
done

# Every text of the installer's own is there in every language: one left out shows in English.
names() { cat "$QM_SOURCE_DIR"/res/*.nsh "$QM_SOURCE_DIR"/res/languages/*.nsh | sed -n "s/^LangString \([A-Za-z]*\) \${LANG_$1}.*/\1/p" | sort; }
for language in GERMAN FRENCH SPANISH JAPANESE SIMPCHINESE; do
    left_out=$(comm -23 <(names ENGLISH) <(names $language)) && [ -z "$left_out" ] || qm_fail "no $language for: $left_out"
done
SOURCE_DATE_EPOCH=$(git -C "$QM_SOURCE_DIR" log -1 --format=%ct) QM_BUILD_DIR=$(dirname "$QM_SCR") \
    "$QM_SOURCE_DIR/scripts/package" --no-build --dist "$qm_work/package" >"$qm_work/package.log" 2>&1 || qm_fail "no installer: $(tail -n 3 "$qm_work/package.log")"
declare -A nsis=([en]=English [de]=German [fr]=French [es]=Spanish [ja]=Japanese [zh]=SimpChinese) asks=(
    [en]="Install just for me (not listed in the Screen Saver Settings)" [de]="Nur für mich installieren (nicht in der Bildschirmschonerliste)"
    [fr]="Pour moi seulement (absent de la liste des écrans de veille)" [es]="Solo para mí (no aparece en la lista de protectores de pantalla)"
    [ja]="自分専用にインストール (設定の一覧には表示されません)" [zh]="仅为我安装（不在“屏幕保护程序设置”中列出）")

start_wine_in() {  # LOCALE, or the display language's/the code page's
    qm_stop_wine
    unset LC_ALL LANG LC_CTYPE LOCPATH
    if [[ $1 == */* ]]; then { export LOCPATH=$locales LANG=${1%/*} LC_CTYPE=${1#*/}; } 2>/dev/null; else { export LC_ALL=$1; } 2>/dev/null; fi
    "$QM_WINESERVER" -p
}
# A title xdotool can match whatever the locale: letters beyond ASCII as any (the probe reads the title whole).
title() { LC_ALL=C sed 's/[^ -~][^ -~]*/.*/g; s/^/^/; s/$/$/' <<<"$1"; } 2>/dev/null
texts_of() { qm_probe "$1" | grep -F "${2:+parent=$2 }" | sed -n 's/.* text=//p'; }
shows() { texts_of "$1" | grep -qxF -- "$2"; }  # CLASS TEXT

# The template picked and its Cancel ("-": not opened); texts are measured unless the code page's fonts lack them.
language() {  # LOCALE LANGID CANCEL
    local out code texts strings shown box
    start_wine_in "$1"
    out=$("$QM_WINE" "$fit" "Z:${QM_SCR//\//\\}" 2>/dev/null) code=$? out=${out//$'\r'/}
    [[ $out == language=$2$'\n'name=Quillmere$'\n'* ]] || qm_fail "$1: the dialog's template and the name in the list: $(head -n 2 <<<"$out" | paste -sd ' '), expected $2 and Quillmere"
    [ "$code" = 0 ] || { [[ $1 == */* ]] && [ "$code" = 1 ]; } || qm_fail "$1: $(grep '^cut' <<<"$out" || tail -n 1 <<<"$out")"
    echo "$1: $(grep '%:' <<<"$out" | paste -sd ';')"
    [ "$3" != - ] || return 0
    texts=$(sed -n 's/^text=//p' <<<"$out") && mapfile -t strings < <(sed -n 's/^string=//p' <<<"$out")
    grep -qxF "$3" <<<"$texts" || qm_fail "$1: no \"$3\" in the dialog: $texts"

    # Settings that can't be stored, no OpenGL for the pane.
    "$QM_WINE" "$QM_PROBE" --settings-writable 0 >/dev/null || qm_fail "$1: the settings stay writable"
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;opengl32=d" qm_start_scr /c && qm_focused "$(title "${texts%%$'\n'*}")"
    shown=$(texts_of '#32770|Button|Static|STATIC_HYPER')
    [ "$(sort <<<"$shown")" = "$(sort <<<"$texts")" ] || qm_fail "$1: the dialog shows $(paste -sd '|' <<<"$shown"), not $(paste -sd '|' <<<"$texts")"
    [ "$(texts_of WATER_PANE)" = "${strings[0]}" ] || qm_fail "$1: the pane says $(texts_of WATER_PANE), not ${strings[0]}"
    xdotool key Return && qm_focused "^Quillmere$"
    box=$(qm_probe '#32770' | sed -n 's/^hwnd=\([0-9]*\) .* text=Quillmere$/\1/p')
    [ "$(texts_of Static "${box:-none}" | grep .)" = "${strings[1]}" ] || qm_fail "$1: the box says $(texts_of Static "${box:-none}"), not ${strings[1]}"
    xdotool key Return; qm_expect_exit 1 "$1: OK and its box"
    "$QM_WINE" "$QM_PROBE" --settings-writable 1 >/dev/null || qm_fail "$1: the settings stay read-only"
    # A failed start-up's title; where the code page is Western only wide calls all the way keep it.
    if [[ $1 == */* ]]; then
        qm_start_scr /p 12345 && qm_focused "$(title "${strings[2]/\%s/GetClientRect}")"
        [ "$(texts_of '#32770')" = "${strings[2]/\%s/GetClientRect}" ] || qm_fail "$1: the fatal error's title is $(texts_of '#32770')"
        xdotool key Return; qm_expect_exit 0 "$1: /p 12345 after the box"
    fi
    local language=${1:0:2} title
    title=$(sed -n 's/.*MULTIUSER_TEXT_INSTALLMODE_TITLE "\(.*\)".*/\1/p' "/usr/share/nsis/Contrib/Language files/${nsis[$language]}.nsh")
    "$QM_WINE" "$qm_work"/package/*-setup.exe >/dev/null 2>&1 &
    qm_until 30 shows Static "$title" || qm_fail "$1: the installer's first page is not \"$title\": $(texts_of Static | paste -sd '|')"
    shows Button "${asks[$language]}" || qm_fail "$1: the installer asks $(texts_of Button | paste -sd '|')"
    qm_probe '#32770' 0x111 2 >/dev/null && qm_wait_programs 30 || qm_fail "$1: the installer stays"
}

# Languages without a translation, Traditional Chinese too, get English; the second row Japanese on a Western code page.
rows=(
    "en_US.UTF-8 0409 Cancel" "ja_JP.UTF-8/en_US.UTF-8 0011 キャンセル" "de_DE.UTF-8 0007 Abbrechen" "de_AT.UTF-8 0007 -"
    "fr_FR.UTF-8 000c Annuler" "es_ES.UTF-8 000a Cancelar" "ja_JP.UTF-8 0011 キャンセル" "zh_CN.UTF-8 0804 取消"
    "zh_TW.UTF-8 0409 -" "it_IT.UTF-8 0409 -"
)
# QM_SCENARIOS picks rows by locale (CTest runs them in two halves).
for row in "${rows[@]}"; do
    [[ " ${QM_SCENARIOS:-${row%% *}} " == *" ${row%% *} "* ]] && language $row && echo "ok: ${row%% *} at $SECONDS s"
done
echo PASS
