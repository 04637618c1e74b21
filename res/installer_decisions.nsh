; What the installer and the uninstaller decide, each from its facts alone:
; the callers gather them (rights, account, registry, folders), so every
; combination can be run as a table, also those Wine never shows (it runs
; everything as an administrator of the signed-in user, and shows no reparse
; point). Needs LogicLib. A flag is 1 for yes; ACCOUNT is the account's type
; (AccountType: Admin, Power, User or Guest), and only Admin has the rights
; of an administrator. The decision goes into OUT.

; Whether the installer goes on. ASKED: 1 when the command line asks for the
; installation for everyone; MACHINE: the folder of the installation for
; everyone already there ("" with none).
;   installed  nothing: the installation for everyone is there, and updating
;              it (or one just for this user beside it) needs an administrator
;   everyone   nothing: the installation for everyone needs an administrator
;   user       just for this user, whatever the mode was
;   chosen     in the mode chosen (on the page, by a switch, or the one there)
!macro InstallDecision ACCOUNT ASKED MACHINE OUT
  ${If} "${ACCOUNT}" == Admin
    StrCpy ${OUT} chosen
  ${ElseIf} "${MACHINE}" != ""
    StrCpy ${OUT} installed
  ${ElseIf} "${ASKED}" == 1
    StrCpy ${OUT} everyone
  ${Else}
    StrCpy ${OUT} user
  ${EndIf}
!macroend

; What the uninstaller does. MODE: its installation's (AllUsers or
; CurrentUser); SESSION: 1 as the user
; signed in to the session (otherwise HKCU is another account's).
;   all      remove the installation, give the user's screensaver back, and
;            remove their settings and log
;   machine  remove the installation for everyone alone; the signed-in
;            user's part is not this account's to touch
;   rights   nothing: the installation for everyone needs an administrator
;   account  nothing: an installation for one user is for that user to remove
!macro UninstallDecision MODE ACCOUNT SESSION OUT
  ${If} "${MODE}" == AllUsers
  ${AndIf} "${ACCOUNT}" != Admin
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

; Whether a folder the signed-in user can write (their installation's, the
; log's) is deleted in. ELEVATED: 1 when this process runs elevated;
; REPARSE: the first reparse point in it or above it (ReparsePoint), "".
; Nothing is ever queued for deletion at the next start in such a folder:
; that delete would run outside every check.
;   leave   nothing in it is touched: the user can make any folder of theirs
;           a junction or a link to somewhere only an administrator can write
;   delete  its files go now, then the folder if empty
!macro UserFolderDecision ELEVATED REPARSE OUT
  ${If} "${ELEVATED}" == 1
  ${AndIf} "${REPARSE}" != ""
    StrCpy ${OUT} leave
  ${Else}
    StrCpy ${OUT} delete
  ${EndIf}
!macroend
