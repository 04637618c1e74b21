#!/usr/bin/env bash
# What scripts/package makes, under Wine: the installer's decisions (with facts Wine never shows:
# a standard user, another account); orders of silent installs, each ending in one installation
# whose uninstaller gives the user's screensaver back; an entry naming a foreign folder.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin install || exit 1
c=$WINEPREFIX/drive_c bin=$(dirname "$QM_SCR") other='C:\windows\system32\other.scr'
sys32=$c/windows/system32 appdata=$(echo "$c"/users/*/AppData/Local) desk='HKCU\Control Panel\Desktop'
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere' own='Software\Tovarind\Quillmere'
session='HKCU\Software\Wine\Temporary System Parameters\Control Panel\Desktop' # as SystemParametersInfo was told
mine=$appdata/Programs/Quillmere && win=C:${mine#"$c"} && win=${win//\//\\}

package() {  # NAME: into $qm_work/NAME, the zip's .scr into $qm_work/NAME.scr
    QM_BUILD_DIR=$bin "$QM_SOURCE_DIR/scripts/package" --no-build --dist "$qm_work/$1" >"$qm_work/$1.log" &&
        (cd "$qm_work/$1" && sha256sum --quiet -c SHA256SUMS) || qm_fail "scripts/package $1: $(cat "$qm_work/$1.log")"
    unzip -p "$qm_work/$1"/*.zip quillmere.scr >"$qm_work/$1.scr"
}
run() { timeout 120 "$QM_WINE" "$@" >"$qm_work/run.log" 2>&1 || qm_fail "$* ended with $?: $(tail -n 3 "$qm_work/run.log")"; }
has_key() { "$QM_WINE" reg query "$1" >/dev/null 2>&1; }
gone() { ! has_key "$1"; }
# Read again for a while: under load a read of a key just written has come back empty.
expect_values() { qm_until 20 values_are "$@" || qm_fail "$order: $1: ${missing%%=*} is $(grep -F "${missing%%=*}=" <<<"$got"), expected $missing"; }
values_are() {  # KEY NAME=VALUE...; sets got and the first value not there, missing
    got=$(qm_reg query "$1" | awk '$2 ~ /^REG_/ {n = $1; sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print n "=" $0}')
    for missing in "${@:2}"; do grep -qxF -- "$missing" <<<"$got" || return 1; done
}
# The user's SCRNSAVE.EXE and ScreenSaveActive, "-" for a value not there.
desktop() { qm_reg query "$desk" | awk '{v[$1] = $3} END {s = "SCRNSAVE.EXE"; a = "ScreenSaveActive"; print ((s in v) ? v[s] : "-") " " ((a in v) ? v[a] : "-")}'; }
set_desktop() {  # SCREENSAVER ACTIVE
    local name
    for name in SCRNSAVE.EXE ScreenSaveActive; do
        if [ "$1" = - ]; then "$QM_WINE" reg delete "$desk" /v $name /f; else qm_reg add "$desk" /v $name /d "$1" /f; fi >/dev/null 2>&1
        shift
    done
}
where() {  # HKLM|HKCU: dir, udir (Unix) and scr, uscr of that installation
    if [ "$1" = HKLM ]; then dir='C:\Program Files\Quillmere' udir=$c/Program\ Files/Quillmere scr='C:\windows\system32\quillmere.scr' uscr=$sys32/quillmere.scr
    else dir=$win udir=$mine scr=$win\\quillmere.scr uscr=$mine/quillmere.scr; fi
}
verify() { osslsigncode verify -CAfile "$qm_work/cert.pem" -in "$1" >/dev/null 2>&1 || qm_fail "no valid signature on $1"; }

# What an earlier run left in this prefix.
for key in "HKLM\\$entry" "HKCU\\$entry" 'HKLM\Software\Tovarind' "HKCU\\$own"; do
    "$QM_WINE" reg delete "$key" /f >/dev/null 2>&1
done
rm -rf "$sys32/quillmere.scr" "$c/Program Files/Quillmere" "$mine"

# A decision of res/installer_decisions.nsh, its facts, what it must decide (u\Quillmere: the per-user folder).
decisions=(
    "UninstallDecision AllUsers 1 1 all" "UninstallDecision AllUsers 1 0 machine"
    "UninstallDecision AllUsers 0 1 rights" "UninstallDecision AllUsers 0 0 rights"
    "UninstallDecision CurrentUser 0 1 all" "UninstallDecision CurrentUser 1 0 account"
    "UninstallDecision CurrentUser 0 0 account"
    'ReplaceDecision AllUsers 1 "" u\Quillmere none' 'ReplaceDecision AllUsers 1 U\QUILLMERE u\Quillmere replace'
    'ReplaceDecision AllUsers 1 C:\Windows u\Quillmere folder' 'ReplaceDecision AllUsers 1 u\Quillmere\.. u\Quillmere folder'
    'ReplaceDecision AllUsers 0 u\Quillmere u\Quillmere account' 'ReplaceDecision AllUsers 0 "" u\Quillmere account'
    'ReplaceDecision CurrentUser 1 C:\Quillmere "" replace' 'ReplaceDecision CurrentUser 0 C:\Quillmere "" files'
    'ReplaceDecision CurrentUser 0 "" "" none'
)
{
    printf '%s\n' "OutFile $qm_work/decide.exe" 'Target amd64-unicode' '!include LogicLib.nsh' \
        "!include $QM_SOURCE_DIR/res/installer_decisions.nsh" Section 'FileOpen $9 "$EXEDIR\decided.txt" w'
    printf '!insertmacro %s $0\nFileWrite $9 "$0$\\n"\n' "${decisions[@]% *}"
    printf '%s\n' 'FileClose $9' SectionEnd
} >"$qm_work/decide.nsi" && makensis -V1 "$qm_work/decide.nsi" >/dev/null || qm_fail "the table of decisions does not build"
run "$qm_work/decide.exe" /S && mapfile -t decided <"$qm_work/decided.txt"
for i in "${!decisions[@]}"; do
    [ "${decided[i]:-}" = "${decisions[i]##* }" ] || qm_fail "${decisions[i]% *}: decided ${decided[i]:-nothing}"
done

package plain
cmp -s "$qm_work/plain.scr" "$QM_SCR" || qm_fail "the zip's .scr is not the one built"
# Signed with a throwaway certificate, through an osslsigncode that notes its arguments and drops the time stamp.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$qm_work/key.pem" -out "$qm_work/cert.pem" -days 2 -subj /CN=test \
    -addext extendedKeyUsage=codeSigning 2>/dev/null && openssl pkcs12 -export -inkey "$qm_work/key.pem" \
    -in "$qm_work/cert.pem" -out "$qm_work/t.pfx" -passout pass:pw || qm_fail "no throwaway certificate"
stub=$qm_work/stub/osslsigncode && mkdir -p "$qm_work/stub" && printf '%s\n' '#!/bin/bash' 'echo "$*" >>"$0.calls"' \
    'a=(); for x; do case $x in -ts|http://ts.test) ;; *) a+=("$x") ;; esac; done' "exec $(command -v osslsigncode) \"\${a[@]}\"" >"$stub"
chmod +x "$stub" && PATH=$qm_work/stub:$PATH QM_SIGN_TIMESTAMP=http://ts.test QM_SIGN_PFX=$qm_work/t.pfx QM_SIGN_PASSWORD=pw package signed
calls=$(grep '^sign ' "$stub.calls")
[ "$(grep -c -- ' -ts http://ts.test ' <<<"$calls")" = 3 ] && [ "$(wc -l <<<"$calls")" = 3 ] || qm_fail "signed without time stamps: $calls"
verify "$qm_work/signed"/*-setup.exe && verify "$qm_work/signed.scr"
osslsigncode remove-signature -in "$qm_work/signed.scr" -out "$qm_work/unsigned.scr" >/dev/null &&
    cmp -s "$qm_work/unsigned.scr" "$QM_SCR" || qm_fail "the signed .scr without its signature is not the one built"

# The package; the user's screensaver and switch before ("-": none); where the installation ends; the runs.
orders=(
    "plain $other 0 HKLM /S /ALLUSERS /ACTIVATE;/S /ACTIVATE"           # over one switched off; twice
    "signed $other 1 HKCU /S /CURRENTUSER;/S"                            # again without a mode: the user's
    "plain - - HKLM /S /CURRENTUSER /ACTIVATE;/S /ALLUSERS /ACTIVATE"   # none chosen; then for everyone
    "plain $other 1 HKCU /S /ALLUSERS /ACTIVATE;/S /CURRENTUSER"        # for everyone, then for one user
)
for order in "${orders[@]}"; do
    read -r pkg saver active ends runs <<<"$order"
    set_desktop "$saver" "$active"
    IFS=';' read -ra steps <<<"$runs"
    for step in "${steps[@]}"; do # an update puts back a damaged .scr
        for f in "$sys32/quillmere.scr" "$mine/quillmere.scr"; do [ ! -e "$f" ] || echo x >"$f"; done
        run "$qm_work/$pkg"/*-setup.exe $step
    done
    others=HKLM && [ "$ends" = HKLM ] && others=HKCU
    where $others
    [ ! -e "$udir" ] && [ ! -e "$uscr" ] && gone "$others\\$entry" || qm_fail "$order: the $others installation stays"
    where "$ends"
    cmp -s "$uscr" "$qm_work/$pkg.scr" || qm_fail "$order: $uscr is not the one packed"
    [ "$pkg" = plain ] || verify "$udir/uninstall.exe"
    strings -el "$udir/Screen Saver Settings.lnk" | grep -qxF 'desk.cpl,,@screensaver' || qm_fail "$order: no shortcut to the Screen Saver Settings"
    size=$(($(stat -c %s "$uscr") + $(stat -c %s "$udir/uninstall.exe") + 1023))
    expect_values "$ends\\$entry" "DisplayName=Quillmere screensaver" Publisher=Tovarind "DisplayIcon=$scr" \
        "DisplayVersion=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$bin/CMakeCache.txt")" "InstallLocation=$dir" \
        "UninstallString=\"$dir\\uninstall.exe\"" "QuietUninstallString=\"$dir\\uninstall.exe\" /S" \
        "EstimatedSize=$(printf 0x%x $((size / 1024)))" NoModify=0x1 NoRepair=0x1
    want="$saver $active" && [[ $runs = *ACTIVATE* ]] && want="$scr 1" &&
        expect_values "HKCU\\$own" "PreviousScreensaver=${saver#-}" "PreviousScreenSaveActive=${active#-}" &&
        expect_values "$session" ScreenSaveActive=1
    [ "$(desktop)" = "$want" ] || qm_fail "$order: the screensaver is $(desktop), expected $want"
    QM_SCR=$uscr qm_start_scr /a && qm_expect_exit 1 "$order: the installed .scr /a"
    has_key "HKLM\\$own" || qm_fail "$order: the installed .scr stored no settings"
    qm_reg add "HKCU\\$own" /v amp /d 30 /f >/dev/null && qm_reg add 'HKCU\Software\Tovarind\Other' /f >/dev/null &&
        mkdir -p "$appdata/Quillmere" && echo log >"$appdata/Quillmere/screen.log"

    # The uninstaller copies itself away and goes on, removing the entry last.
    run "$dir\\uninstall.exe" /S && qm_until 60 gone "$ends\\$entry" || qm_fail "$order: the $ends entry stays after uninstalling"
    [ ! -e "$udir" ] && [ ! -e "$uscr" ] && [ ! -e "$appdata/Quillmere" ] || qm_fail "$order: files left after uninstalling"
    [ "$(desktop)" = "$saver $active" ] || qm_fail "$order: after uninstalling the screensaver is $(desktop)"
    [[ $runs != *ACTIVATE* ]] || expect_values "$session" "ScreenSaveActive=${active/-/0}"
    gone "HKCU\\$own" && has_key 'HKCU\Software\Tovarind\Other' || qm_fail "$order: the user's settings stay, or another's key went"
    if [ "$ends" = HKLM ]; then gone 'HKLM\Software\Tovarind'; else has_key "HKLM\\$own"; fi ||
        qm_fail "$order: the machine's settings went with the user's installation, or stay after the machine's"
    "$QM_WINE" reg delete 'HKLM\Software\Tovarind' /f >/dev/null 2>&1
    echo "ok: $order at $SECONDS s"
done

# The user's entry (any process of theirs can write it) names a foreign folder: an
# installation for everyone leaves it, the entry and the screensaver alone.
order=foreign decoy=$qm_work/decoy && wdecoy=Z:${decoy//\//\\} && mkdir -p "$decoy" &&
    touch "$decoy"/{uninstall.exe,quillmere.scr,"Screen Saver Settings.lnk"}
qm_reg add "HKCU\\$entry" /v InstallLocation /d "$wdecoy" /f >/dev/null && set_desktop "$wdecoy\\quillmere.scr" 1
run "$qm_work/plain"/*-setup.exe /S /ALLUSERS
[ "$(ls "$decoy" | wc -l)" = 3 ] && has_key "HKCU\\$entry" && [ "$(desktop)" = "$wdecoy\\quillmere.scr 1" ] ||
    qm_fail "an installation for everyone acted on $decoy, named by the user's entry"
echo PASS
