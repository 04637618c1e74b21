#!/usr/bin/env bash
# What scripts/package makes, under Wine: the installer's decisions (on facts Wine never shows, as a table), silent
# installs in several orders through the winget manifest's switches, and the user's files it must leave alone.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin install || exit 1
c=$WINEPREFIX/drive_c bin=$(dirname "$QM_SCR") other='C:\windows\system32\other.scr'
sys32=$c/windows/system32 appdata=$(echo "$c"/users/*/AppData/Local) desk='HKCU\Control Panel\Desktop'
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere' own='Software\Tovarind\Quillmere'
session='HKCU\Software\Wine\Temporary System Parameters\Control Panel\Desktop' # as SystemParametersInfo was told
boot='HKLM\System\CurrentControlSet\Control\Session Manager' # PendingFileRenameOperations: deletes at the next start
mine=$appdata/Programs/Quillmere && win=C:${mine#"$c"} && win=${win//\//\\}

package() {  # NAME: into $qm_work/NAME (SHA256SUMS naming every file), the zip's .scr into $qm_work/NAME.scr
    SOURCE_DATE_EPOCH=$(git -C "$QM_SOURCE_DIR" log -1 --format=%ct) QM_BUILD_DIR=$bin "$QM_SOURCE_DIR/scripts/package" --no-build --dist "$qm_work/$1" >"$qm_work/$1.log" &&
        (cd "$qm_work/$1" && sha256sum --quiet -c SHA256SUMS && [ "$(find . -type f ! -name SHA256SUMS -printf '%P\n' | sort)" = "$(cut -c67- SHA256SUMS | sort)" ]) ||
        qm_fail "scripts/package $1: $(cat "$qm_work/$1.log" "$qm_work/$1/SHA256SUMS")"
    unzip -p "$qm_work/$1"/*.zip quillmere.scr >"$qm_work/$1.scr"
}
run() {  # [EXIT CODE, by default 0] COMMAND...: and what it started (an uninstaller's copy)
    local want=0 && [[ $1 = [0-9] ]] && want=$1 && shift; timeout 120 "$QM_WINE" "$@" >"$qm_work/run.log" 2>&1; [ $? = "$want" ] || qm_fail "$order: $* ended with $?: $(tail -n 3 "$qm_work/run.log")"
    qm_wait_programs 60 || qm_fail "$order: $*: still running a minute on"
}
said() {  # LOG PATH...: the log (/LOG=) says why each PATH itself was left alone
    local lines && lines=$(iconv -f UTF-16 -t UTF-8 "$qm_work/$1" | grep '^Left alone: ')
    for path in "${@:2}"; do grep -qiF -e "$path " -e "$path," <<<"$lines" || qm_fail "$order: $1 does not say why $path was left: ${lines:-nothing}"; done
}
unqueued() {  # WHAT: nothing in the user's installation's folder is left to be deleted at the next start
    expect "$1: the deletes queued for the next start" "$boot" && ! grep '^PendingFileRenameOperations=' <<<"$qm_got" | grep -qiF "$win" ||
        qm_fail "$order: $1 queued a delete in $win for the next start: $qm_got"
}
local_appdata() { put 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' "Local AppData=$1" && put 'HKCU\Volatile Environment' "LOCALAPPDATA=$1"; }  # FOLDER: and %LOCALAPPDATA% of a new session
expect() { qm_reg_expect "${@:2}" || qm_fail "$order: $1 ($2: $qm_got)"; }  # WHAT KEY [absent | NAME=VALUE...]
desktop() { expect "$1" "$desk" "SCRNSAVE.EXE=$2" "ScreenSaveActive=$3"; }  # WHAT SCREENSAVER ACTIVE ("-": none)
set_desktop() { put "$desk" "SCRNSAVE.EXE=$1" "ScreenSaveActive=$2"; }  # SCREENSAVER ACTIVE ("-": none)
put() { qm_reg_set "$@" || qm_fail "$order: $1 not set to ${*:2}: $qm_got"; }  # KEY [NAME=VALUE...]
level() { strings -a "$1" | grep -o 'requestedExecutionLevel level="[A-Za-z]*"' | cut -d'"' -f2; }  # asked for in FILE's manifest
where() {  # HKLM|HKCU: dir, udir (Unix) and scr, uscr of that installation
    if [ "$1" = HKLM ]; then dir='C:\Program Files\Quillmere' udir=$c/Program\ Files/Quillmere scr='C:\windows\system32\quillmere.scr' uscr=$sys32/quillmere.scr; else dir=$win udir=$mine scr=$win\\quillmere.scr uscr=$mine/quillmere.scr; fi
}
verify() { osslsigncode verify -CAfile "$qm_work/cert.pem" -in "$1" >/dev/null 2>&1 || qm_fail "no valid signature on $1"; }

# What an earlier run left in this prefix.
order=start && put "$boot" PendingFileRenameOperations=- && local_appdata "${win%\\Programs\\Quillmere}"
for key in "HKLM\\$entry" "HKCU\\$entry" 'HKLM\Software\Tovarind' 'HKCU\Software\Tovarind'; do qm_reg_fresh "$key" || qm_fail "start: an earlier run's $key stays: $qm_got"; done
rm -rf "$sys32/quillmere.scr" "$c/Program Files/Quillmere" "$mine" "$c/foreign"

# The winget manifest against the format's rules; what it says (m[NAME]) the installs below must do.
QM_RELEASE_URL=https://downloads.test/1.0 package plain && declare -A m && while IFS='=' read -r name value; do m[$name]=$value; done < <(
    python3 "$QM_SOURCE_DIR/tests/package/winget_check.py" "$qm_work/plain/winget" || echo "error=$?")
setup=$(echo "$qm_work/plain"/*-setup.exe) && sha=$(sha256sum <"$setup" | cut -c-64) && url=https://downloads.test/1.0/${setup##*/}
[ -z "${m[error]:-}" ] && [ "${m[Installers.1.InstallerUrl]} ${m[Installers.2.InstallerUrl]} ${m[Installers.1.InstallerSha256],,} ${m[Installers.2.InstallerSha256],,}" = "$url $url $sha $sha" ] &&
    [ "${entry##*\\}" = "${m[ProductCode]}" ] &&
    [ "${m[PackageVersion]}" = "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$bin/CMakeCache.txt")" ] || qm_fail "the winget manifest: $(declare -p m)"
cmp -s "$qm_work/plain.scr" "$QM_SCR" || qm_fail "the zip's .scr is not the one built"

# res/installer_decisions.nsh: a decision, its facts, what it decides (u\Quillmere: the per-user folder; a name
# ending ~j a junction to FakeAttributes; C:\u a profile, C:\f a folder elsewhere).
decisions=(
    'InstallDecision Admin 0 "" chosen' 'InstallDecision Admin 1 C:\Q chosen' 'InstallDecision User 0 "" user' 'InstallDecision Power 0 "" user'
    'InstallDecision Power 1 "" everyone' 'InstallDecision Power 0 C:\Q installed' 'InstallDecision User 1 C:\Q installed'
    'InstallDecision Guest 1 "" everyone' "UninstallDecision AllUsers Admin 1 all" "UninstallDecision AllUsers Admin 0 machine"
    "UninstallDecision AllUsers User 1 rights" "UninstallDecision AllUsers Power 1 rights" "UninstallDecision AllUsers User 0 rights"
    "UninstallDecision CurrentUser User 1 all" "UninstallDecision CurrentUser Power 1 all" "UninstallDecision CurrentUser Admin 0 account"
    "UninstallDecision CurrentUser User 0 account" 'OwnUserFolder 0 C:\u C:\f\a a\b C:\f\a' 'OwnUserFolder 1 C:\u C:\f\a a\b C:\u\a\b'
    'OwnUserFolder 1 "" C:\u\a\b a\b ""' 'UserFolderDecision 1 C:\u\a C:\u\a C:\u~j leave' 'UserFolderDecision 1 C:\u\a c:\U\A "" delete'
    'UserFolderDecision 0 C:\f C:\f C:\f~j delete' 'UserFolderDecision 1 C:\f\a C:\u\a "" named' 'UserFolderDecision 1 C:\f\a C:\u\a C:\f~j named'
    'UserFolderDecision 1 C:\u\a "" "" named' 'FileDecision 1 Quillmere|Tovarind Quillmere|Tovarind delete'
    'FileDecision 1 Other|Tovarind Quillmere|Tovarind leave' 'FileDecision 1 Quillmere|Other Quillmere|Tovarind leave'
    'FileDecision 1 "" Quillmere|Tovarind leave' 'FileDecision 0 "" Quillmere|Tovarind delete' 'ReparsePoint C:\u\a\b C:\u FakeAttributes ""'
    'ReparsePoint C:\u\a\b~j C:\u FakeAttributes C:\u\a\b~j' 'ReparsePoint C:\u\a~j\b\c C:\u FakeAttributes C:\u\a~j'
    'ReparsePoint C:\u~j\a C:\u~j FakeAttributes ""' 'ReparsePoint C:\x~j\a\b C:\u FakeAttributes C:\x~j'
    'ReparsePoint C:\u\a~j C:\U\A~J FakeAttributes ""' 'ReplaceDecision AllUsers 1 "" u\Quillmere none'
    'ReplaceDecision AllUsers 1 U\QUILLMERE u\Quillmere replace' 'ReplaceDecision AllUsers 1 C:\Windows u\Quillmere folder'
    'ReplaceDecision AllUsers 1 u\Quillmere\.. u\Quillmere folder' 'ReplaceDecision AllUsers 0 u\Quillmere u\Quillmere account'
    'ReplaceDecision AllUsers 0 "" u\Quillmere account' 'ReplaceDecision CurrentUser 1 C:\Quillmere "" replace'
    'ReplaceDecision CurrentUser 0 C:\Quillmere "" files' 'ReplaceDecision CurrentUser 0 "" "" none'
)
# Then the facts as the installer and uninstaller gather them (this program is another of the publisher's).
facts=('InstallFacts $0 $1 $2' 'ReplaceFacts AllUsers $0 $1 $2' 'ReplaceFacts CurrentUser $0 $1 $2'
    "UninstallFacts \"C:\\Program Files\\Quillmere\" \$0 \$1 \$2" 'Elevated $0' 'ReparsePoint $EXEDIR "" FolderAttributes $0' 'UserInstallFolder $0')
{
    printf '%s\n' "OutFile $qm_work/decide.exe" 'Unicode true' 'Target amd64-unicode' '!include LogicLib.nsh' '!include FileFunc.nsh' \
        'VIProductVersion 1.0.0.0' 'VIAddVersionKey ProductName Other' "VIAddVersionKey CompanyName ${m[Publisher]}" \
        "!define UNINST_KEY \"$entry\"" "!include $QM_SOURCE_DIR/res/installer_facts.nsh" "!include $QM_SOURCE_DIR/res/installer_decisions.nsh" \
        '!macro FakeAttributes F OUT' 'StrCpy ${OUT} ${F} "" -2' '${If} ${OUT} == "~j"' 'StrCpy ${OUT} 0x410' '${Else}' 'StrCpy ${OUT} 0x10' \
        '${EndIf}' '!macroend' Section 'FileOpen $9 "$EXEDIR\decided.txt" w'
    printf '!insertmacro %s $0\nFileWrite $9 "$0$\\n"\n' "${decisions[@]% *}"
    printf 'StrCpy $0 ""\nStrCpy $1 ""\nStrCpy $2 ""\n!insertmacro %s\nFileWrite $9 "$0|$1|$2|"\n' "${facts[@]}"
    printf '%s\n' 'FileClose $9' SectionEnd
} >"$qm_work/decide.nsi" && makensis -V1 "$qm_work/decide.nsi" >/dev/null || qm_fail "the table of decisions does not build"
run "$qm_work/decide.exe" /S && mapfile -t decided <"$qm_work/decided.txt"
for i in "${!decisions[@]}"; do
    want=${decisions[i]##* } && [ "$want" != '""' ] || want=""; [ "${decided[i]:-}" = "$want" ] || qm_fail "${decisions[i]% *}: decided ${decided[i]:-nothing}"
done
expect_facts() {  # HKLM HKCU ASKED: the facts line as it must read (an administrator, elevated, the session's own)
    local mode=CurrentUser && [ "$1" = 'C:\Program Files\Quillmere' ] && mode=AllUsers
    local want="Admin|$3|$1|1|$2|$win|1|$1||$mode|Admin|1|1||||||$win|||"
    [ "${decided[${#decisions[@]}]:-}" = "$want" ] || qm_fail "$order: the installer's facts are ${decided[${#decisions[@]}]:-none}, expected $want"
}
order="nothing installed" && expect_facts "" "" 0

# Signed with a throwaway certificate through an osslsigncode that notes its calls and drops the time stamp.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$qm_work/key.pem" -out "$qm_work/cert.pem" -days 2 -subj /CN=test \
    -addext extendedKeyUsage=codeSigning 2>/dev/null && openssl pkcs12 -export -inkey "$qm_work/key.pem" \
    -in "$qm_work/cert.pem" -out "$qm_work/t.pfx" -passout pass:pw || qm_fail "no throwaway certificate"
stub=$qm_work/stub/osslsigncode && mkdir -p "$qm_work/stub" && printf '%s\n' '#!/bin/bash' 'echo "$*" >>"$0.calls"' \
    'a=(); for x; do case $x in -ts|http://ts.test) ;; *) a+=("$x") ;; esac; done' "exec $(command -v osslsigncode) \"\${a[@]}\"" >"$stub"
chmod +x "$stub" && PATH=$qm_work/stub:$PATH QM_SIGN_TIMESTAMP=http://ts.test QM_SIGN_PFX=$qm_work/t.pfx QM_SIGN_PASSWORD=pw package signed
calls=$(grep '^sign ' "$stub.calls")
[ "$(grep -c -- ' -ts http://ts.test ' <<<"$calls")" = 4 ] && [ "$(wc -l <<<"$calls")" = 4 ] || qm_fail "signed without time stamps: $calls"
verify "$qm_work/signed"/*-setup.exe && verify "$qm_work/signed.scr"
[ "$(python3 "$QM_SOURCE_DIR/tests/package/winget_check.py" "$qm_work/signed/winget" | grep -ic -e '^Installers.1.InstallerUrl=https://[^/]*\.invalid/' \
    -e "^Installers.1.InstallerSha256=$(sha256sum <"$qm_work/signed"/*-setup.exe | cut -c-64)")" = 2 ] || qm_fail "the signed installer's manifest, with a placeholder that cannot resolve"
osslsigncode remove-signature -in "$qm_work/signed.scr" -out "$qm_work/unsigned.scr" >/dev/null &&
    cmp -s "$qm_work/unsigned.scr" "$QM_SCR" || qm_fail "the signed .scr without its signature is not the one built"

# Package; the user's screensaver and switch before ("-": none); another product of the publisher's keys or not;
# where the installation ends; the runs (@user, @machine: the manifest's switches).
orders=(
    "plain $other 0 1 HKLM @machine /ACTIVATE;/S /ACTIVATE"      # over one switched off; twice
    "signed $other 1 0 HKCU @user;/S"                            # again without a mode: the user's
    "plain - - 0 HKLM @user /ACTIVATE;@machine /ACTIVATE"        # none chosen; then for everyone
    "plain $other 1 1 HKCU @machine /ACTIVATE;@user"             # for everyone, then for one user
)
[ "$(level "$qm_work/plain"/*-setup.exe)" = highestAvailable ] || qm_fail "the installer does not ask to be elevated"
for order in "${orders[@]}"; do
    read -r pkg saver active another ends runs <<<"$order"
    set_desktop "$saver" "$active"
    IFS=';' read -ra steps <<<"$runs"
    for step in "${steps[@]}"; do # an update puts back a damaged .scr (one in the other mode would not be Quillmere's)
        where "$ends" && { [ ! -e "$uscr" ] || echo x >"$uscr"; }
        step=${step//@user/${m[user]}} && run "$qm_work/$pkg"/*-setup.exe ${step//@machine/${m[machine]}}
    done
    others=HKLM && [ "$ends" = HKLM ] && others=HKCU; where $others
    [ ! -e "$udir" ] && [ ! -e "$uscr" ] || qm_fail "$order: the $others installation's files stay"
    expect "the $others installation's entry stays" "$others\\$entry" absent
    where "$ends" && cmp -s "$uscr" "$qm_work/$pkg.scr" || qm_fail "$order: $uscr is not the one packed"
    [ "$pkg" = plain ] || verify "$udir/uninstall.exe"
    uninstall_level=asInvoker && [ "$ends" = HKLM ] && uninstall_level=highestAvailable; [ "$(level "$udir/uninstall.exe")" = $uninstall_level ] || qm_fail "$order: the uninstaller asks for $(level "$udir/uninstall.exe")"
    run "$qm_work/decide.exe" /S /ALLUSERS && mapfile -t decided <"$qm_work/decided.txt"
    if [ "$ends" = HKLM ]; then expect_facts "$dir" "" 1; else expect_facts "" "$dir" 1; fi
    strings -el "$udir/Screen Saver Settings.lnk" | grep -qxF 'desk.cpl,,@screensaver' || qm_fail "$order: no shortcut to the Screen Saver Settings"
    size=$(($(stat -c %s "$uscr") + $(stat -c %s "$udir/uninstall.exe") + 1023))
    expect "the entry" "$ends\\$entry" "DisplayName=${m[DisplayName]}" "Publisher=${m[Publisher]}" "DisplayIcon=$scr" \
        "DisplayVersion=${m[DisplayVersion]}" "InstallLocation=$dir" \
        "UninstallString=\"$dir\\uninstall.exe\"" "QuietUninstallString=\"$dir\\uninstall.exe\" /S" \
        "EstimatedSize=$(printf 0x%x $((size / 1024)))" NoModify=0x1 NoRepair=0x1 && quiet=$(sed -n 's/^QuietUninstallString=//p' <<<"$qm_got")
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

    # The entry's silent uninstall as winget runs it: the uninstaller copies itself away, run waits for the copy.
    [[ $quiet =~ ^\"(.*)\"\ (.*)$ ]] && run "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]}
    expect "the entry after uninstalling" "$ends\\$entry" absent
    if [ "$ends" = HKLM ]; then [ ! -e "$udir" ]; else [ "$(ls -A "$udir")" = notes.txt ]; fi && [ ! -e "$uscr" ] &&
        [ ! -e "$appdata/Quillmere" ] || qm_fail "$order: files left after uninstalling, or the user's own gone"
    unqueued "the uninstall" && rm -rf "$udir"
    desktop "the screensaver after uninstalling" "$saver" "$active"
    [[ $runs != *ACTIVATE* ]] || expect "the session's switch after uninstalling" "$session" "ScreenSaveActive=${active/-/0}"
    expect "the user's settings after uninstalling" "HKCU\\$own" absent
    if [ "$ends" = HKLM ]; then expect "the machine's settings after uninstalling" "HKLM\\$own" absent
    else expect "the machine's settings after uninstalling just for the user" "HKLM\\$own"; fi
    for root in HKCU HKLM; do
        if [ "$another" = 1 ]; then expect "another product's key after uninstalling" "$root\\Software\\Tovarind\\Other"
        elif [ $root = HKCU ] || [ "$ends" = HKLM ]; then expect "the publisher's empty key after uninstalling" "$root\\Software\\Tovarind" absent; fi
    done
    qm_reg_fresh 'HKLM\Software\Tovarind' && qm_reg_fresh 'HKCU\Software\Tovarind' || qm_fail "$order: $qm_got"
    echo "ok: $order at $SECONDS s"
done

# A Power User (built in) installs just for them, without asking; with this program as their .scr, an elevated
# install for everyone, or uninstall, leaves it and their shortcut, says why and queues nothing.
order="a Power User's" log="/LOG=Z:${qm_work//\//\\}\\" && printf '%s\n' '!macro AccountType OUT' 'StrCpy ${OUT} Power' '!macroend' >"$qm_work/power.nsh"
makensis -V1 "-X!include $qm_work/power.nsh" -DVERSION_HEADER="$bin/res/quillmere_version.h" -DSCR="$QM_SCR" -DOUTFILE="$qm_work/power.exe" \
    -DUSER_UNINSTALLER="$qm_work/decide.exe" "$QM_SOURCE_DIR/res/installer.nsi" >/dev/null || qm_fail "$order: no installer"
"$QM_WINE" "$qm_work/power.exe" >/dev/null 2>&1 & power=$!
page() { page=$(qm_probe Button | grep -o -e 'text=&Finish' -e 'text=Install just for me'); [ -n "$page" ]; }
qm_until 60 page; kill $power && wait $power; [ "$page" = 'text=&Finish' ] || qm_fail "$order: the page after installing is ${page:-none}"
qm_wait_programs 60 && expect "the entry" "HKCU\\$entry" "InstallLocation=$win" && expect "no entry" "HKLM\\$entry" absent
cp "$qm_work/decide.exe" "$mine/quillmere.scr" && run "$setup" ${m[machine]} "${log}replace.log" && unqueued "the replace"
said replace.log "$win\\Screen Saver Settings.lnk" "$win\\quillmere.scr" "$win\\uninstall.exe" && expect "their entry" "HKCU\\$entry" absent
[ "$(ls "$mine" | wc -l)" = 3 ] || qm_fail "$order: an installation for everyone deleted a file that was not Quillmere's in $mine"
run "$setup" ${m[user]} && cp "$qm_work/decide.exe" "$mine/quillmere.scr" && run "$win\\uninstall.exe" /S "${log}uninstall-user.log"
said uninstall-user.log "$win\\Screen Saver Settings.lnk" "$win\\quillmere.scr" && [ "$(ls "$mine" | wc -l)" = 2 ] ||
    qm_fail "$order: the uninstaller just for the user, elevated, deleted a file that was not Quillmere's in $mine"

# The user's settings name a foreign folder: an install just for them is refused; others leave it, and say so.
order=redirected foreign=$c/foreign/Programs/Quillmere wforeign='C:\foreign\Programs\Quillmere' && mkdir -p "$foreign" "$c/foreign/Quillmere" &&
    cp "$qm_work/decide.exe" "$foreign/uninstall.exe" && cp "$qm_work/decide.exe" "$foreign/quillmere.scr" && echo log >"$c/foreign/Quillmere/screen.log"
local_appdata 'C:\foreign' && put "HKCU\\$entry" "InstallLocation=$wforeign" && set_desktop "$wforeign\\quillmere.scr" 1
run 5 "$setup" ${m[user]} "${log}user.log" && said user.log "$wforeign"
run "$setup" ${m[machine]} "${log}machine.log" && said machine.log "$wforeign"
run 'C:\Program Files\Quillmere\uninstall.exe' /S "${log}uninstall.log" && said uninstall.log 'C:\foreign\Quillmere'
cmp -s "$foreign/uninstall.exe" "$qm_work/decide.exe" && cmp -s "$foreign/quillmere.scr" "$qm_work/decide.exe" &&
    [ -e "$c/foreign/Quillmere/screen.log" ] || qm_fail "$order: a file in $c/foreign changed"
expect "the user's entry naming $wforeign" "HKCU\\$entry" "InstallLocation=$wforeign" && desktop "the screensaver" "$wforeign\\quillmere.scr" 1
local_appdata "${win%\\Programs\\Quillmere}" && qm_reg_fresh "HKCU\\$entry" || qm_fail "$order: $qm_got"
echo PASS
