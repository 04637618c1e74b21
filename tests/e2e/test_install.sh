#!/usr/bin/env bash
# What scripts/package makes, under Wine: silent installs for everyone
# (activated, then again over it) and for one user (signed with a throwaway
# certificate), each uninstalled.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin install || exit 1
c=$WINEPREFIX/drive_c bin=$(dirname "$QM_SCR") other='C:\windows\system32\other.scr'
sys32=$c/windows/system32 pf='C:\Program Files\Quillmere' desk='HKCU\Control Panel\Desktop'
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere' own='Software\Tovarind\Quillmere'

package() {  # NAME: into $qm_work/NAME, setup the installer, scr the zip's .scr
    QM_BUILD_DIR=$bin "$QM_SOURCE_DIR/scripts/package" --no-build --dist "$qm_work/$1" >"$qm_work/$1.log" &&
        (cd "$qm_work/$1" && sha256sum --quiet -c SHA256SUMS) || qm_fail "scripts/package $1: $(cat "$qm_work/$1.log")"
    setup=$(echo "$qm_work/$1"/*-setup.exe) scr=$qm_work/$1.scr && unzip -p "$qm_work/$1"/*.zip quillmere.scr >"$scr"
}
run() { timeout 120 "$QM_WINE" "$@" >/dev/null 2>&1 || qm_fail "$* ended with $?"; }
has_key() { "$QM_WINE" reg query "$1" >/dev/null 2>&1; }
gone() { ! has_key "$1"; }
expect_values() {  # KEY NAME=VALUE...
    local got want
    got=$(qm_reg query "$1" | awk '$2 ~ /^REG_/ {n = $1; sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print n "=" $0}')
    for want in "${@:2}"; do
        grep -qxF -- "$want" <<<"$got" || qm_fail "$1: ${want%%=*} is $(grep -F "${want%%=*}=" <<<"$got"), expected $want"
    done
}
# Runs an uninstaller silently; it copies itself away and goes on, removing the entry last.
uninstall() { run "$2" /S && qm_until 60 gone "$1\\$entry" || qm_fail "the $1 entry stays after uninstalling"; }
verify() { osslsigncode verify -CAfile "$qm_work/cert.pem" -in "$1" >/dev/null 2>&1 || qm_fail "no valid signature on $1"; }

# For everyone, activated: the built .scr in System32, the machine's entry,
# the user's screensaver; the upgrade puts a damaged .scr back.
package plain
cmp -s "$scr" "$QM_SCR" || qm_fail "the zip's .scr is not the one built"
qm_reg add "$desk" /v SCRNSAVE.EXE /d "$other" /f >/dev/null && qm_reg add "$desk" /v ScreenSaveActive /d 0 /f >/dev/null
qm_reg add "HKCU\\$own" /v amp /d 30 /f >/dev/null && qm_reg add 'HKCU\Software\Tovarind\Other' /f >/dev/null
for round in install upgrade; do
    run "$setup" /S /ACTIVATE
    cmp -s "$sys32/quillmere.scr" "$QM_SCR" || qm_fail "$round: System32's quillmere.scr is not the one built"
    size=$(($(stat -c %s "$QM_SCR") + $(stat -c %s "$c/Program Files/Quillmere/uninstall.exe") + 1023))
    expect_values "HKLM\\$entry" "DisplayName=Quillmere screensaver" Publisher=Tovarind \
        "DisplayVersion=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$bin/CMakeCache.txt")" \
        'DisplayIcon=C:\windows\system32\quillmere.scr' "UninstallString=\"$pf\\uninstall.exe\"" \
        "QuietUninstallString=\"$pf\\uninstall.exe\" /S" "EstimatedSize=$(printf 0x%x $((size / 1024)))"
    expect_values "$desk" 'SCRNSAVE.EXE=C:\windows\system32\quillmere.scr' ScreenSaveActive=1
    [ $round = upgrade ] || echo x >"$sys32/quillmere.scr"
done
QM_SCR=$sys32/quillmere.scr qm_start_scr /a && qm_expect_exit 1 "the installed .scr /a"
has_key "HKLM\\$own" || qm_fail "the installed .scr stored no settings"
uninstall HKLM "$pf\\uninstall.exe"
[ ! -e "$sys32/quillmere.scr" ] && [ ! -e "$c/Program Files/Quillmere" ] || qm_fail "files left after uninstalling"
expect_values "$desk" "SCRNSAVE.EXE=$other"
for key in "HKLM\\$own" "HKCU\\$own" 'HKLM\Software\Tovarind'; do gone "$key" || qm_fail "$key left after uninstalling"; done
has_key 'HKCU\Software\Tovarind\Other' || qm_fail "the uninstaller removed another program's key"
echo "ok: for everyone at $SECONDS s"

# For one user, signed, not activated: nothing in System32, the user's
# folder and entry, the screensaver untouched.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$qm_work/key.pem" -out "$qm_work/cert.pem" -days 2 -subj /CN=test \
    -addext extendedKeyUsage=codeSigning 2>/dev/null && openssl pkcs12 -export -inkey "$qm_work/key.pem" \
    -in "$qm_work/cert.pem" -out "$qm_work/t.pfx" -passout pass:pw || qm_fail "no throwaway certificate"
QM_SIGN_PFX=$qm_work/t.pfx QM_SIGN_PASSWORD=pw package signed
verify "$setup" && verify "$scr"
osslsigncode remove-signature -in "$scr" -out "$qm_work/unsigned.scr" >/dev/null &&
    cmp -s "$qm_work/unsigned.scr" "$QM_SCR" || qm_fail "the signed .scr without its signature is not the one built"
ls -lR "$sys32" >"$qm_work/sys32.before"
run "$setup" /S /CURRENTUSER
ls -lR "$sys32" | diff "$qm_work/sys32.before" - >&2 || qm_fail "a per-user install changed System32"
mine=$(echo "$c"/users/*/AppData/Local/Programs/Quillmere) && win=C:${mine#"$c"} && win=${win//\//\\}
cmp -s "$mine/quillmere.scr" "$scr" && verify "$mine/uninstall.exe" || qm_fail "no signed .scr in $mine"
expect_values "HKCU\\$entry" "DisplayIcon=$win\\quillmere.scr" "QuietUninstallString=\"$win\\uninstall.exe\" /S"
gone "HKLM\\$entry" || qm_fail "a per-user install wrote the machine's entry"
expect_values "$desk" "SCRNSAVE.EXE=$other"
uninstall HKCU "$win\\uninstall.exe"
[ ! -e "$mine" ] || qm_fail "$mine left after uninstalling"
echo PASS
