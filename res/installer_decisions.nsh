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
; installation for this account alone may be in (OwnUserFolder); SESSION as
; above.
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

; The folder of the signed-in user's that a step may act in, TAIL below their
; profile (USER_PROGRAMS, USER_LOGS). NAMED: that folder as their own settings
; name it (their shell folders, environment, Apps entry: any program of theirs
; can write those, naming any folder at all); PROFILE: their profile folder as
; the machine's ProfileList keeps it (SessionProfile), "" when not found.
;   not elevated  NAMED, as ever
;   elevated      PROFILE\TAIL, named only by what administrators can write
;                 ("" without PROFILE: none)
!macro OwnUserFolder ELEVATED PROFILE NAMED TAIL OUT
  ${If} "${ELEVATED}" != 1
    StrCpy ${OUT} "${NAMED}"
  ${ElseIf} "${PROFILE}" == ""
    StrCpy ${OUT} ""
  ${Else}
    StrCpy ${OUT} "${PROFILE}\${TAIL}"
  ${EndIf}
!macroend

; Whether FOLDER, one the signed-in user can write (their installation's, the
; log's), is deleted in or written to. ELEVATED: 1 when this process runs
; elevated; OWN: the folder it may act in (OwnUserFolder); REPARSE: the first
; reparse point in FOLDER or above it (ReparsePoint), "" with none. Nothing is
; ever queued for deletion at the next start in such a folder: that delete
; would run outside every check.
;   named   nothing in it is touched: elevated, and the user's own settings
;           name FOLDER, not the folder below the profile
;   leave   nothing in it is touched: elevated, and the user can make any
;           folder of theirs a junction or a link to somewhere only an
;           administrator can write
;   delete  its files go now (elevated, only Quillmere's: FileDecision), then
;           the folder if empty
!macro UserFolderDecision ELEVATED FOLDER OWN REPARSE OUT
  ${If} "${ELEVATED}" != 1
    StrCpy ${OUT} delete
  ${ElseIf} "${OWN}" == ""
  ${OrIf} "${FOLDER}" != "${OWN}"
    StrCpy ${OUT} named
  ${ElseIf} "${REPARSE}" != ""
    StrCpy ${OUT} leave
  ${Else}
    StrCpy ${OUT} delete
  ${EndIf}
!macroend

; Whether a file in a folder of the signed-in user's is deleted. NAMES: what
; the file says it is (FileNames: "product|publisher"; for the shortcut,
; ShortcutNames: its icon's file, then what that names); OURS: what
; Quillmere's says.
;   delete  not elevated, or it is Quillmere's
;   leave   elevated, and it is not: anything can be put in a folder of the
;           user's, another program's uninstaller too
!macro FileDecision ELEVATED NAMES OURS OUT
  ${If} "${ELEVATED}" != 1
  ${OrIf} "${NAMES}" == "${OURS}"
    StrCpy ${OUT} delete
  ${Else}
    StrCpy ${OUT} leave
  ${EndIf}
!macroend
