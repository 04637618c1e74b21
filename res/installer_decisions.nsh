; What the installer and the uninstaller decide, each from its facts alone:
; the callers gather them (rights, account, registry, folders), so every
; combination can be run as a table, also those Wine never shows (it runs
; everything as an administrator of the signed-in user). Needs LogicLib.
; A flag is 1 for yes; the decision goes into OUT.

; What the uninstaller does. MODE: its installation's (AllUsers or
; CurrentUser); ADMIN: 1 with administrator rights; SESSION: 1 as the user
; signed in to the session (otherwise HKCU is another account's).
;   all      remove the installation, give the user's screensaver back, and
;            remove their settings and log
;   machine  remove the installation for everyone alone; the signed-in
;            user's part is not this account's to touch
;   rights   nothing: the installation for everyone needs an administrator
;   account  nothing: an installation for one user is for that user to remove
!macro UninstallDecision MODE ADMIN SESSION OUT
  ${If} "${MODE}" == AllUsers
  ${AndIf} "${ADMIN}" != 1
    StrCpy ${OUT} rights
  ${ElseIf} "${SESSION}" == 1
    StrCpy ${OUT} all
  ${ElseIf} "${MODE}" == AllUsers
    StrCpy ${OUT} machine
  ${Else}
    StrCpy ${OUT} account
  ${EndIf}
!macroend

; What becomes of the installation in the other mode as this one is made in
; MODE. OTHER: that one's folder as its entry names it ("" with none: HKCU's
; entry for AllUsers, HKLM's for CurrentUser); OWN: the folder an
; installation for this account alone goes into; SESSION as above.
;   none     there is none
;   replace  its files and entry go, and the user's screensaver, when it was
;            that one, becomes this one
;   files    its files and entry go; the screensaver is the signed-in user's,
;            not this account's, to change
;   account  left alone: as another account, HKCU is not the signed-in user's
;   folder   left alone: any process of the user's can write HKCU, and the
;            entry names a folder other than OWN
!macro ReplaceDecision MODE SESSION OTHER OWN OUT
  ${If} "${MODE}" == AllUsers
  ${AndIf} "${SESSION}" != 1
    StrCpy ${OUT} account
  ${ElseIf} "${OTHER}" == ""
    StrCpy ${OUT} none
  ${ElseIf} "${MODE}" == AllUsers
  ${AndIf} "${OTHER}" != "${OWN}"
    StrCpy ${OUT} folder
  ${ElseIf} "${SESSION}" == 1
    StrCpy ${OUT} replace
  ${Else}
    StrCpy ${OUT} files
  ${EndIf}
!macroend
