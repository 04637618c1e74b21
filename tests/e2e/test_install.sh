#!/usr/bin/env bash
# What scripts/package makes, installed under Wine: silent installs for
# everyone (activated, then again over it) and for one user (signed with a
# throwaway certificate), each uninstalled; one Wine server for all.
set -u
. "$QM_SOURCE_DIR/tests/harness/lib.sh"
qm_e2e_begin install || exit 1
c=$WINEPREFIX/drive_c sys32=$WINEPREFIX/drive_c/windows/system32
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere'
desk='HKCU\Control Panel\Desktop' own='Software\Tovarind\Quillmere' other='C:\windows\system32\other.scr'

# Packages into $qm_work/NAME; sets setup to the installer.
package() {  # NAME
    QM_BUILD_DIR=$(dirname "$QM_SCR") "$QM_SOURCE_DIR/scripts/package" --no-build --dist "$qm_work/$1" >"$qm_work/$1.log" ||
        qm_fail "scripts/package: $(cat "$qm_work/$1.log")"
    setup=$(echo "$qm_work/$1"/quillmere-*-setup.exe)
    (cd "$qm_work/$1" && sha256sum --quiet -c SHA256SUMS) || qm_fail "SHA256SUMS of $1"
}
run() { timeout 120 "$QM_WINE" "$@" >/dev/null 2>&1 || qm_fail "$* ended with $?"; }
has_key() { "$QM_WINE" reg query "$1" >/dev/null 2>&1; }
gone() { ! has_key "$1"; }
verify() { osslsigncode verify -CAfile "$qm_work/cert.pem" -in "$1" >"$qm_work/verify.log" 2>&1 || qm_fail "no valid signature on $1: $(cat "$qm_work/verify.log")"; }
# Fails unless KEY holds each NAME=VALUE.
expect_values() {  # KEY NAME=VALUE...
    local key=$1 got want
    got=$(qm_reg query "$key" | awk '$2 ~ /^REG_/ {n = $1; sub(/^ *[^ ]+ +REG_[A-Z_]+ */, ""); print n "=" $0}')
    for want in "${@:2}"; do
        grep -qxF -- "$want" <<<"$got" || qm_fail "$key: ${want%%=*} is $(grep -F "${want%%=*}=" <<<"$got"), expected $want"
    done
}
# Runs the entry's QuietUninstallString and waits for the entry to go
# (last of all). Usage: uninstall HKLM|HKCU
uninstall() {
    local quiet
    quiet=$(qm_reg query "$1\\$entry" /v QuietUninstallString | sed -n 's/.*REG_SZ *"\(.*\)" \/S$/\1/p')
    [ -n "$quiet" ] || qm_fail "no QuietUninstallString under $1"
    run "$quiet" /S
    qm_until 60 gone "$1\\$entry" || qm_fail "the $1 entry stays after uninstalling"
}
kb() { echo $((($(stat -c %s "$1") + $(stat -c %s "$2") + 1023) / 1024)); }

# For everyone, activated: the built .scr in System32, the machine's entry,
# the user's screensaver (the earlier one kept) and a run of it.
package plain
unzip -p "$qm_work"/plain/*.zip quillmere.scr | cmp -s - "$QM_SCR" || qm_fail "the zip's .scr is not the one built"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$(dirname "$QM_SCR")/CMakeCache.txt")
qm_reg add "$desk" /v SCRNSAVE.EXE /d "$other" /f >/dev/null && qm_reg add "$desk" /v ScreenSaveActive /d 0 /f >/dev/null
qm_reg add "HKCU\\$own" /v amp /d 30 /f >/dev/null && qm_reg add 'HKCU\Software\Tovarind\Other' /f >/dev/null
for round in install upgrade; do
    run "$setup" /S /ACTIVATE
    cmp -s "$sys32/quillmere.scr" "$QM_SCR" || qm_fail "$round: System32's quillmere.scr is not the one built"
    expect_values "HKLM\\$entry" "DisplayName=Quillmere screensaver" "DisplayVersion=$version" Publisher=Tovarind \
        'DisplayIcon=C:\windows\system32\quillmere.scr' 'UninstallString="C:\Program Files\Quillmere\uninstall.exe"' \
        'QuietUninstallString="C:\Program Files\Quillmere\uninstall.exe" /S' \
        "EstimatedSize=$(printf 0x%x "$(kb "$QM_SCR" "$c/Program Files/Quillmere/uninstall.exe")")"
    expect_values "$desk" 'SCRNSAVE.EXE=C:\windows\system32\quillmere.scr' ScreenSaveActive=1
    expect_values "HKCU\\$own" "PreviousScreensaver=$other"
    [ $round = upgrade ] || echo x >"$sys32/quillmere.scr" # the upgrade must put it back
done
QM_SCR=$sys32/quillmere.scr qm_start_scr /a && qm_expect_exit 1 "the installed .scr /a"
has_key "HKLM\\$own" || qm_fail "the installed .scr stored no settings"
uninstall HKLM
[ ! -e "$sys32/quillmere.scr" ] && [ ! -e "$c/Program Files/Quillmere" ] || qm_fail "files left after uninstalling"
expect_values "$desk" "SCRNSAVE.EXE=$other"
for key in "HKLM\\$own" "HKCU\\$own" 'HKLM\Software\Tovarind'; do
    ! has_key "$key" || qm_fail "$key left after uninstalling"
done
has_key 'HKCU\Software\Tovarind\Other' || qm_fail "the uninstaller removed another program's key"
echo "ok: for everyone at $SECONDS s"

# For one user, signed, not activated: nothing in System32, the user's
# folder and entry, the screensaver untouched.
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$qm_work/key.pem" -out "$qm_work/cert.pem" -days 2 \
    -subj "/CN=Quillmere test" -addext extendedKeyUsage=codeSigning 2>/dev/null &&
    openssl pkcs12 -export -inkey "$qm_work/key.pem" -in "$qm_work/cert.pem" -out "$qm_work/t.pfx" -passout pass:pw ||
    qm_fail "no throwaway certificate"
QM_SIGN_PFX=$qm_work/t.pfx QM_SIGN_PASSWORD=pw package signed
grep -q 'signing with' "$qm_work/signed.log" || qm_fail "package did not sign: $(cat "$qm_work/signed.log")"
unzip -p "$qm_work"/signed/*.zip quillmere.scr >"$qm_work/signed.scr"
verify "$setup" && verify "$qm_work/signed.scr"
osslsigncode remove-signature -in "$qm_work/signed.scr" -out "$qm_work/unsigned.scr" >/dev/null &&
    cmp -s "$qm_work/unsigned.scr" "$QM_SCR" || qm_fail "the signed .scr without its signature is not the one built"
ls -lR "$sys32" >"$qm_work/sys32.before"
run "$setup" /S /CURRENTUSER
ls -lR "$sys32" | diff "$qm_work/sys32.before" - >&2 || qm_fail "a per-user install changed System32"
mine=$(echo "$c"/users/*/AppData/Local/Programs/Quillmere)
cmp -s "$mine/quillmere.scr" "$qm_work/signed.scr" || qm_fail "no signed .scr in $mine"
verify "$mine/uninstall.exe"
win=C:${mine#"$c"} && win=${win//\//\\}
expect_values "HKCU\\$entry" "DisplayIcon=$win\\quillmere.scr" "QuietUninstallString=\"$win\\uninstall.exe\" /S"
! has_key "HKLM\\$entry" || qm_fail "a per-user install wrote the machine's entry"
expect_values "$desk" "SCRNSAVE.EXE=$other"
uninstall HKCU
[ ! -e "$mine" ] || qm_fail "$mine left after uninstalling"
expect_values "$desk" "SCRNSAVE.EXE=$other"
echo "ok: for one user at $SECONDS s"
echo PASS
