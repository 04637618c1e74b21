#!/usr/bin/env bash
# What scripts/package makes, under Wine: the installer's decisions (with facts Wine never shows: a
# standard user, a Power User, another account, a reparse point) and the facts as it gathers them;
# orders of silent installs, each ending in one installation whose uninstaller gives the user's
# screensaver back; an entry naming a foreign folder.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin install || exit 1
c=$WINEPREFIX/drive_c bin=$(dirname "$QM_SCR") other='C:\windows\system32\other.scr'
sys32=$c/windows/system32 appdata=$(echo "$c"/users/*/AppData/Local) desk='HKCU\Control Panel\Desktop'
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere' own='Software\Tovarind\Quillmere'
session='HKCU\Software\Wine\Temporary System Parameters\Control Panel\Desktop' # as SystemParametersInfo was told
boot='HKLM\System\CurrentControlSet\Control\Session Manager' # PendingFileRenameOperations: deletes at the next start
mine=$appdata/Programs/Quillmere && win=C:${mine#"$c"} && win=${win//\//\\}

package() {  # NAME: into $qm_work/NAME, the zip's .scr into $qm_work/NAME.scr (of the tree as it is)
    SOURCE_DATE_EPOCH=$(git -C "$QM_SOURCE_DIR" log -1 --format=%ct) QM_BUILD_DIR=$bin "$QM_SOURCE_DIR/scripts/package" --no-build --dist "$qm_work/$1" >"$qm_work/$1.log" &&
        (cd "$qm_work/$1" && sha256sum --quiet -c SHA256SUMS) || qm_fail "scripts/package $1: $(cat "$qm_work/$1.log")"
    unzip -p "$qm_work/$1"/*.zip quillmere.scr >"$qm_work/$1.scr"
}
# Runs a program and waits until what it started has ended too (an uninstaller goes on in a copy).
run() {
    timeout 120 "$QM_WINE" "$@" >"$qm_work/run.log" 2>&1 || qm_fail "$* ended with $?: $(tail -n 3 "$qm_work/run.log")"
    qm_wait_programs 60 || qm_fail "$*: still running a minute on"
}
expect() { qm_reg_expect "${@:2}" || qm_fail "$order: $1 ($2: $qm_got)"; }  # WHAT KEY [absent | NAME=VALUE...]
desktop() { expect "$1" "$desk" "SCRNSAVE.EXE=$2" "ScreenSaveActive=$3"; }  # WHAT SCREENSAVER ACTIVE ("-": none)
set_desktop() { put "$desk" "SCRNSAVE.EXE=$1" "ScreenSaveActive=$2"; }  # SCREENSAVER ACTIVE ("-": none)
put() { qm_reg_set "$@" || qm_fail "$order: $1 not set to ${*:2}: $qm_got"; }  # KEY [NAME=VALUE...]
level() { strings -a "$1" | grep -o 'requestedExecutionLevel level="[A-Za-z]*"' | cut -d'"' -f2; }  # asked for in FILE's manifest
where() {  # HKLM|HKCU: dir, udir (Unix) and scr, uscr of that installation
    if [ "$1" = HKLM ]; then dir='C:\Program Files\Quillmere' udir=$c/Program\ Files/Quillmere scr='C:\windows\system32\quillmere.scr' uscr=$sys32/quillmere.scr
    else dir=$win udir=$mine scr=$win\\quillmere.scr uscr=$mine/quillmere.scr; fi
}
verify() { osslsigncode verify -CAfile "$qm_work/cert.pem" -in "$1" >/dev/null 2>&1 || qm_fail "no valid signature on $1"; }

# What an earlier run left in this prefix.
order=start && put "$boot" PendingFileRenameOperations=-
for key in "HKLM\\$entry" "HKCU\\$entry" 'HKLM\Software\Tovarind' 'HKCU\Software\Tovarind'; do
    qm_reg_fresh "$key" || qm_fail "start: an earlier run's $key stays: $qm_got"
done
rm -rf "$sys32/quillmere.scr" "$c/Program Files/Quillmere" "$mine"

# A decision of res/installer_decisions.nsh, its facts, what it must decide (u\Quillmere: the per-user folder;
# a folder named ~j is a junction to the table's ReparsePoint).
decisions=(
    'InstallDecision Admin 0 "" chosen' 'InstallDecision Admin 1 C:\Q chosen' 'InstallDecision User 0 "" user'
    'InstallDecision Power 0 "" user' 'InstallDecision Power 1 "" everyone' 'InstallDecision Power 0 C:\Q installed'
    'InstallDecision User 1 C:\Q installed' 'InstallDecision Guest 1 "" everyone'
    "UninstallDecision AllUsers Admin 1 all" "UninstallDecision AllUsers Admin 0 machine"
    "UninstallDecision AllUsers User 1 rights" "UninstallDecision AllUsers Power 1 rights"
    "UninstallDecision AllUsers User 0 rights" "UninstallDecision CurrentUser User 1 all"
    "UninstallDecision CurrentUser Power 1 all" "UninstallDecision CurrentUser Admin 0 account"
    "UninstallDecision CurrentUser User 0 account"
    'UserFolderDecision 1 C:\u\a~j leave' 'UserFolderDecision 1 "" delete' 'UserFolderDecision 0 C:\u\a~j delete'
    'ReparsePoint C:\u\a\b C:\u FakeAttributes ""' 'ReparsePoint C:\u\a\b~j C:\u FakeAttributes C:\u\a\b~j'
    'ReparsePoint C:\u\a~j\b\c C:\u FakeAttributes C:\u\a~j' 'ReparsePoint C:\u~j\a C:\u~j FakeAttributes ""'
    'ReparsePoint C:\x~j\a\b C:\u FakeAttributes C:\x~j' 'ReparsePoint C:\u\a~j C:\U\A~J FakeAttributes ""'
    'ReplaceDecision AllUsers 1 "" u\Quillmere none' 'ReplaceDecision AllUsers 1 U\QUILLMERE u\Quillmere replace'
    'ReplaceDecision AllUsers 1 C:\Windows u\Quillmere folder' 'ReplaceDecision AllUsers 1 u\Quillmere\.. u\Quillmere folder'
    'ReplaceDecision AllUsers 0 u\Quillmere u\Quillmere account' 'ReplaceDecision AllUsers 0 "" u\Quillmere account'
    'ReplaceDecision CurrentUser 1 C:\Quillmere "" replace' 'ReplaceDecision CurrentUser 0 C:\Quillmere "" files'
    'ReplaceDecision CurrentUser 0 "" "" none'
)
# Then the facts of each decision as the installer and the uninstaller gather them, elevated or not, and a
# reparse point at or above this folder.
facts=('InstallFacts $0 $1 $2' 'ReplaceFacts AllUsers $0 $1 $2' 'ReplaceFacts CurrentUser $0 $1 $2'
    "UninstallFacts \"C:\\Program Files\\Quillmere\" \$0 \$1 \$2" 'Elevated $0' 'ReparsePoint $EXEDIR "" FolderAttributes $0')
{
    printf '%s\n' "OutFile $qm_work/decide.exe" 'Unicode true' 'Target amd64-unicode' '!include LogicLib.nsh' '!include FileFunc.nsh' \
        "!define UNINST_KEY \"$entry\"" "!include $QM_SOURCE_DIR/res/installer_facts.nsh" "!include $QM_SOURCE_DIR/res/installer_decisions.nsh" \
        '!macro FakeAttributes F OUT' 'StrCpy ${OUT} ${F} "" -2' '${If} ${OUT} == "~j"' 'StrCpy ${OUT} 0x410' '${Else}' 'StrCpy ${OUT} 0x10' \
        '${EndIf}' '!macroend' Section 'FileOpen $9 "$EXEDIR\decided.txt" w'
    printf '!insertmacro %s $0\nFileWrite $9 "$0$\\n"\n' "${decisions[@]% *}"
    printf 'StrCpy $0 ""\nStrCpy $1 ""\nStrCpy $2 ""\n!insertmacro %s\nFileWrite $9 "$0|$1|$2|"\n' "${facts[@]}"
    printf '%s\n' 'FileClose $9' SectionEnd
} >"$qm_work/decide.nsi" && makensis -V1 "$qm_work/decide.nsi" >/dev/null || qm_fail "the table of decisions does not build"
run "$qm_work/decide.exe" /S && mapfile -t decided <"$qm_work/decided.txt"
for i in "${!decisions[@]}"; do
    want=${decisions[i]##* } && [ "$want" != '""' ] || want=""
    [ "${decided[i]:-}" = "$want" ] || qm_fail "${decisions[i]% *}: decided ${decided[i]:-nothing}"
done
expect_facts() {  # HKLM HKCU ASKED: the facts line as it must read (an administrator, elevated, the session's own)
    local mode=CurrentUser && [ "$1" = 'C:\Program Files\Quillmere' ] && mode=AllUsers
    local want="Admin|$3|$1|1|$2|$win|1|$1||$mode|Admin|1|1||||||"
    [ "${decided[${#decisions[@]}]:-}" = "$want" ] || qm_fail "$order: the installer's facts are ${decided[${#decisions[@]}]:-none}, expected $want"
}
order="nothing installed" && expect_facts "" "" 0

package plain
cmp -s "$qm_work/plain.scr" "$QM_SCR" || qm_fail "the zip's .scr is not the one built"
# Signed with a throwaway certificate, through an osslsigncode that notes its arguments and drops the time stamp:
# the .scr, both uninstallers and the installer.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$qm_work/key.pem" -out "$qm_work/cert.pem" -days 2 -subj /CN=test \
    -addext extendedKeyUsage=codeSigning 2>/dev/null && openssl pkcs12 -export -inkey "$qm_work/key.pem" \
    -in "$qm_work/cert.pem" -out "$qm_work/t.pfx" -passout pass:pw || qm_fail "no throwaway certificate"
stub=$qm_work/stub/osslsigncode && mkdir -p "$qm_work/stub" && printf '%s\n' '#!/bin/bash' 'echo "$*" >>"$0.calls"' \
    'a=(); for x; do case $x in -ts|http://ts.test) ;; *) a+=("$x") ;; esac; done' "exec $(command -v osslsigncode) \"\${a[@]}\"" >"$stub"
chmod +x "$stub" && PATH=$qm_work/stub:$PATH QM_SIGN_TIMESTAMP=http://ts.test QM_SIGN_PFX=$qm_work/t.pfx QM_SIGN_PASSWORD=pw package signed
calls=$(grep '^sign ' "$stub.calls")
[ "$(grep -c -- ' -ts http://ts.test ' <<<"$calls")" = 4 ] && [ "$(wc -l <<<"$calls")" = 4 ] || qm_fail "signed without time stamps: $calls"
verify "$qm_work/signed"/*-setup.exe && verify "$qm_work/signed.scr"
osslsigncode remove-signature -in "$qm_work/signed.scr" -out "$qm_work/unsigned.scr" >/dev/null &&
    cmp -s "$qm_work/unsigned.scr" "$QM_SCR" || qm_fail "the signed .scr without its signature is not the one built"

# The package; the user's screensaver and switch before ("-": none); another product of the publisher (its
# key in HKCU and HKLM) or not; where the installation ends; the runs.
orders=(
    "plain $other 0 1 HKLM /S /ALLUSERS /ACTIVATE;/S /ACTIVATE"           # over one switched off; twice
    "signed $other 1 0 HKCU /S /CURRENTUSER;/S"                            # again without a mode: the user's
    "plain - - 0 HKLM /S /CURRENTUSER /ACTIVATE;/S /ALLUSERS /ACTIVATE"   # none chosen; then for everyone
    "plain $other 1 1 HKCU /S /ALLUSERS /ACTIVATE;/S /CURRENTUSER"        # for everyone, then for one user
)
[ "$(level "$qm_work/plain"/*-setup.exe)" = highestAvailable ] || qm_fail "the installer does not ask to be elevated"
for order in "${orders[@]}"; do
    read -r pkg saver active another ends runs <<<"$order"
    set_desktop "$saver" "$active"
    IFS=';' read -ra steps <<<"$runs"
    for step in "${steps[@]}"; do # an update puts back a damaged .scr
        for f in "$sys32/quillmere.scr" "$mine/quillmere.scr"; do [ ! -e "$f" ] || echo x >"$f"; done
        run "$qm_work/$pkg"/*-setup.exe $step
    done
    others=HKLM && [ "$ends" = HKLM ] && others=HKCU
    where $others
    [ ! -e "$udir" ] && [ ! -e "$uscr" ] || qm_fail "$order: the $others installation's files stay"
    expect "the $others installation's entry stays" "$others\\$entry" absent
    where "$ends"
    cmp -s "$uscr" "$qm_work/$pkg.scr" || qm_fail "$order: $uscr is not the one packed"
    [ "$pkg" = plain ] || verify "$udir/uninstall.exe"
    # Only the uninstaller for everyone is elevated: the one just for a user runs as that user.
    uninstall_level=asInvoker && [ "$ends" = HKLM ] && uninstall_level=highestAvailable
    [ "$(level "$udir/uninstall.exe")" = $uninstall_level ] || qm_fail "$order: the uninstaller asks for $(level "$udir/uninstall.exe")"
    run "$qm_work/decide.exe" /S /ALLUSERS && mapfile -t decided <"$qm_work/decided.txt"
    if [ "$ends" = HKLM ]; then expect_facts "$dir" "" 1; else expect_facts "" "$dir" 1; fi
    strings -el "$udir/Screen Saver Settings.lnk" | grep -qxF 'desk.cpl,,@screensaver' || qm_fail "$order: no shortcut to the Screen Saver Settings"
    size=$(($(stat -c %s "$uscr") + $(stat -c %s "$udir/uninstall.exe") + 1023))
    expect "the entry" "$ends\\$entry" "DisplayName=Quillmere screensaver" Publisher=Tovarind "DisplayIcon=$scr" \
        "DisplayVersion=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$bin/CMakeCache.txt")" "InstallLocation=$dir" \
        "UninstallString=\"$dir\\uninstall.exe\"" "QuietUninstallString=\"$dir\\uninstall.exe\" /S" \
        "EstimatedSize=$(printf 0x%x $((size / 1024)))" NoModify=0x1 NoRepair=0x1
    if [[ $runs = *ACTIVATE* ]]; then
        desktop "the screensaver" "$scr" 1
        expect "what the screensaver was" "HKCU\\$own" "PreviousScreensaver=${saver#-}" "PreviousScreenSaveActive=${active#-}"
        expect "the session's switch" "$session" ScreenSaveActive=1
    else
        desktop "the screensaver, not asked to change" "$saver" "$active"
    fi
    QM_SCR=$uscr qm_start_scr /a && qm_expect_exit 1 "$order: the installed .scr /a"
    expect "the installed .scr's settings" "HKLM\\$own"
    put "HKCU\\$own" amp=30 && mkdir -p "$appdata/Quillmere" && echo log >"$appdata/Quillmere/screen.log"
    [ "$ends" = HKLM ] || echo mine >"$udir/notes.txt" # the user's own, in their installation's folder
    [ "$another" = 0 ] || { put 'HKCU\Software\Tovarind\Other' && put 'HKLM\Software\Tovarind\Other'; }

    # The uninstaller copies itself away and goes on (run waits for it), removing the entry last.
    run "$dir\\uninstall.exe" /S
    expect "the entry after uninstalling" "$ends\\$entry" absent
    if [ "$ends" = HKLM ]; then [ ! -e "$udir" ]; else [ "$(ls -A "$udir")" = notes.txt ]; fi && [ ! -e "$uscr" ] &&
        [ ! -e "$appdata/Quillmere" ] || qm_fail "$order: files left after uninstalling, or the user's own gone"
    expect "the deletes queued for the next start" "$boot" && queued=$(grep '^PendingFileRenameOperations=' <<<"$qm_got")
    ! grep -qiF "$dir" <<<"$queued" || qm_fail "$order: a delete in $dir queued for the next start: $queued"
    rm -rf "$udir"
    desktop "the screensaver after uninstalling" "$saver" "$active"
    [[ $runs != *ACTIVATE* ]] || expect "the session's switch after uninstalling" "$session" "ScreenSaveActive=${active/-/0}"
    expect "the user's settings after uninstalling" "HKCU\\$own" absent
    # Its own settings go, the machine's only with the installation for everyone; another product's stay.
    if [ "$ends" = HKLM ]; then expect "the machine's settings after uninstalling" "HKLM\\$own" absent
    else expect "the machine's settings after uninstalling just for the user" "HKLM\\$own"; fi
    for root in HKCU HKLM; do
        if [ "$another" = 1 ]; then expect "another product's key after uninstalling" "$root\\Software\\Tovarind\\Other"
        elif [ $root = HKCU ] || [ "$ends" = HKLM ]; then expect "the publisher's empty key after uninstalling" "$root\\Software\\Tovarind" absent; fi
    done
    qm_reg_fresh 'HKLM\Software\Tovarind' && qm_reg_fresh 'HKCU\Software\Tovarind' || qm_fail "$order: $qm_got"
    echo "ok: $order at $SECONDS s"
done

# The user's entry (any process of theirs can write it) names a foreign folder: an
# installation for everyone leaves it, the entry and the screensaver alone.
order=foreign decoy=$qm_work/decoy && wdecoy=Z:${decoy//\//\\} && mkdir -p "$decoy" &&
    touch "$decoy"/{uninstall.exe,quillmere.scr,"Screen Saver Settings.lnk"}
put "HKCU\\$entry" "InstallLocation=$wdecoy" && set_desktop "$wdecoy\\quillmere.scr" 1
run "$qm_work/plain"/*-setup.exe /S /ALLUSERS
[ "$(ls "$decoy" | wc -l)" = 3 ] || qm_fail "an installation for everyone deleted in $decoy, named by the user's entry"
expect "the user's entry naming $decoy" "HKCU\\$entry" "InstallLocation=$wdecoy"
desktop "the screensaver in $decoy" "$wdecoy\\quillmere.scr" 1
echo PASS
