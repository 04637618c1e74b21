; The Quillmere installer (64-bit NSIS). scripts/package builds it:
;   makensis -DVERSION_HEADER=/abs/quillmere_version.h -DSCR=/abs/quillmere.scr
;            -DOUTFILE=/abs/setup.exe -DUSER_UNINSTALLER=/abs/uninstall.exe
;            [-DSIGN=command] res/installer.nsi
; VERSION_HEADER is the build's res/quillmere_version.h: the version, the
; publisher and the names come from it, as in the .scr's version resource.
; SIGN, when given, is run on the uninstaller before it is packed ("%1").
; USER_UNINSTALLER is the uninstaller of an installation just for one user,
; made first by the same command with -DKEEP_UNINSTALLER=/abs/uninstall.exe
; instead (its installer is thrown away): that one runs as the user, never
; elevated, as it has nothing of the machine's to remove.
;
; For everyone (the default when it can elevate, or /ALLUSERS): quillmere.scr
; into System32, where the Screen Saver Settings list finds it; the
; uninstaller in Program Files\Quillmere; the entry under HKLM.
; For one user (/CURRENTUSER, or the choice on its page): everything in
; %LOCALAPPDATA%\Programs\Quillmere and the entry under HKCU.
; There is one installation at a time: a run without a mode updates the one
; there in its own mode, and one in the other mode takes its place.
; "Make Quillmere my screensaver" (the finish page's box, /ACTIVATE when
; silent) points the user's SCRNSAVE.EXE at it, switches screensavers on and
; keeps both values as they were, which the uninstaller gives back.
; What belongs to the signed-in user is never done as another account that
; elevated the installer or the uninstaller. Elevated, it acts only in the
; user's folders below the profile the machine keeps for them, never in one
; that is, or is under, a junction or a link, and deletes only Quillmere's own
; files there: see OpenSettings, installer_facts.nsh (each fact gathered by
; one macro) and installer_decisions.nsh, where each decision is made from its
; facts. What it leaves, and why, it says in the details and in the log that
; /LOG=FILE asks for (installer_texts.nsh holds every text).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!searchparse /file "${VERSION_HEADER}" "#define QM_VERSION_MAJOR " VERSION_MAJOR
!searchparse /file "${VERSION_HEADER}" "#define QM_VERSION_MINOR " VERSION_MINOR
!searchparse /file "${VERSION_HEADER}" "#define QM_VERSION_PATCH " VERSION_PATCH
!searchparse /file "${VERSION_HEADER}" '#define QM_PUBLISHER "' PUBLISHER '"'
!searchparse /file "${VERSION_HEADER}" '#define QM_PRODUCT "' PRODUCT '"'
!searchparse /file "${VERSION_HEADER}" '#define QM_DISPLAY_NAME "' DISPLAY_NAME '"'
!define VERSION "${VERSION_MAJOR}.${VERSION_MINOR}.${VERSION_PATCH}"
!define OURS "${PRODUCT}|${PUBLISHER}" ; what the version resource of each of our files names
; The Apps entry: its key's name is the product's.
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define OWN_KEY "Software\Tovarind\Quillmere"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_LNK "Screen Saver Settings.lnk"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SENDCHANGE 2

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${DISPLAY_NAME} setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Copyright (C) ${PUBLISHER}"

!ifdef KEEP_UNINSTALLER
  !define MULTIUSER_EXECUTIONLEVEL Standard
!else
  !define MULTIUSER_EXECUTIONLEVEL Highest
!endif
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_USE_PROGRAMFILES64
; Without a mode asked for, the mode of the installation already there: the
; machine's entry first, then the user's.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINST_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME InstallLocation
!define MULTIUSER_INSTALLMODE_FUNCTION ModeChosen
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "$(InstallModeTop)"
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "$(InstallJustForMe)"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include installer_facts.nsh
!include installer_decisions.nsh

!define MUI_ICON "quillmere.ico"
!define MUI_UNICON "quillmere.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(MakeItMyScreensaver)"
!define MUI_FINISHPAGE_RUN_FUNCTION Activate
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(OpenScreenSaverSettings)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenSettings
!ifndef KEEP_UNINSTALLER
  !insertmacro MULTIUSER_PAGE_INSTALLMODE
!endif
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The system's display language where there is a translation, else English,
; as Modern UI picks it; NSIS's own language files give the standard pages.
!insertmacro MUI_LANGUAGE English
!insertmacro MUI_LANGUAGE German
!insertmacro MUI_LANGUAGE French
!insertmacro MUI_LANGUAGE Spanish
!insertmacro MUI_LANGUAGE Japanese
!insertmacro MUI_LANGUAGE SimpChinese

!ifdef KEEP_UNINSTALLER
  !ifdef SIGN
    !uninstfinalize '${SIGN} "%1" && cp "%1" "${KEEP_UNINSTALLER}"' = 0
  !else
    !uninstfinalize 'cp "%1" "${KEEP_UNINSTALLER}"' = 0
  !endif
!else ifdef SIGN
  !uninstfinalize '${SIGN} "%1"' = 0
!endif

Var ScrPath ; where quillmere.scr goes (System32 or the per-user folder)
Var SettingsOpened ; 1 once the Screen Saver Settings were asked for
Var Uninstall ; what the uninstaller does: all or machine (UninstallDecision)
Var Elevated ; 1 when this process runs elevated
Var Log ; the log /LOG=FILE asks for ("" without)
; What the texts name: a folder of the user's, the one it may act in instead
; (OwnUserFolder), a reparse point above it, a file in it.
Var Folder
Var Own
Var Link
Var File
!include installer_texts.nsh
; The same texts in each other language.
!include languages/en.nsh
!include languages/de.nsh
!include languages/fr.nsh
!include languages/es.nsh
!include languages/ja.nsh
!include languages/zh-CN.nsh

; Says TEXT in the details and in the log.
!macro Say TEXT
  DetailPrint "${TEXT}"
  ${If} $Log != ""
    FileWriteUTF16LE $Log "${TEXT}$\r$\n"
  ${EndIf}
!macroend

; Opens the log the command line asks for (/LOG=FILE, as winget's --log passes it), and notes whether
; this process runs elevated.
!macro Begin
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/LOG=" $0
  ${IfNot} ${Errors}
  ${AndIf} $0 != ""
    FileOpen $Log $0 w
    FileWriteUTF16LE /BOM $Log ""
  ${EndIf}
  !insertmacro Elevated $Elevated
!macroend

; Says TEXT in a box unless silent, and in the log, and ends with exit code 5 (ERROR_ACCESS_DENIED).
!macro Refuse TEXT
  !insertmacro Say "${TEXT}"
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel 5
  Quit
!macroend

Function ModeChosen
  ${If} $MultiUser.InstallMode == AllUsers
    StrCpy $ScrPath "$SYSDIR\quillmere.scr"
  ${Else}
    StrCpy $ScrPath "$INSTDIR\quillmere.scr"
  ${EndIf}
FunctionEnd

; A user without an administrator's rights (a Power User too) installs just
; for themselves; they cannot update the installation for everyone, and one
; of their own beside it would be a second entry in Apps (InstallDecision).
Function .onInit
  !insertmacro Begin
  !insertmacro MULTIUSER_INIT
  !insertmacro InstallFacts $0 $1 $2
  !insertmacro InstallDecision $0 $1 $2 $3
  ${If} $3 == user
    ; MultiUser.nsh counts a Power User as an administrator: not its page either.
    StrCpy $MultiUser.Privileges User
    Call MultiUser.InstallMode.CurrentUser
  ${ElseIf} $3 == installed
    !insertmacro Refuse "$(NeedAdminToUpdate)"
  ${ElseIf} $3 == everyone
    !insertmacro Refuse "$(NeedAdminToInstall)"
  ${EndIf}
FunctionEnd

; Size of file $0 in bytes, added to $1.
!macro AddFileSize
  FileOpen $2 $0 r
  FileSeek $2 0 END $3
  FileClose $2
  IntOp $1 $1 + $3
!macroend

; $2: the long form of the path in $0 when it names a file (the Screen Saver
; Settings write 8.3 names), otherwise $0 itself.
!macro LongPath
  System::Call 'kernel32::GetLongPathNameW(w r0, w .r2, i ${NSIS_MAX_STRLEN}) i .r3'
  ${If} $3 = 0
    StrCpy $2 $0
  ${EndIf}
!macroend

; Says what was left for the signed-in user to do: in the details and the
; log, and in a box unless silent.
!macro Tell TEXT
  !insertmacro Say "${TEXT}"
  MessageBox MB_OK|MB_ICONINFORMATION "${TEXT}" /SD IDOK
!macroend

; Tells the running session that the screensaver changed, with the switch
; as the registry now holds it.
!macro TellSession
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" ScreenSaveActive
  IntOp $0 $0 + 0
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i r0, p 0, i ${SPIF_SENDCHANGE})'
!macroend

; Deletes FILE now.
!macro DeleteNow FILE
  Delete "${FILE}"
!macroend

; Deletes FILE, the uninstaller: this copy starts before the uninstaller it
; came from has exited, and a running image can't be deleted: on a busy
; machine wait for it (10 s at most).
!macro DeleteUninstaller FILE
  StrCpy $0 0
  ${Do}
    Delete "${FILE}"
    ${IfNot} ${FileExists} "${FILE}"
    ${OrIf} $0 >= 100
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $0 $0 + 1
  ${Loop}
!macroend

; OUT: whether to act in FOLDER, one of the signed-in user's that is TAIL
; below their profile (UserFolderDecision: named, leave or delete); said in the
; details and the log when not.
!macro UserFolder FOLDER TAIL OUT
  StrCpy $Folder "${FOLDER}"
  !insertmacro OwnFolderFacts $Folder "${TAIL}" $Own
  !insertmacro ReparsePoint $Folder $PROFILE FolderAttributes $Link
  !insertmacro UserFolderDecision $Elevated $Folder $Own $Link ${OUT}
  ${If} ${OUT} == named
    !insertmacro Say "$(LeftNamed)"
  ${ElseIf} ${OUT} == leave
    !insertmacro Say "$(LeftLink)"
  ${EndIf}
!macroend

; Deletes FILE, in a folder of the signed-in user's, with the macro DELETE
; when it is Quillmere's (FileDecision on what the macro FACT finds it names,
; against OURS); otherwise says TEXT in the details and the log.
!macro DeleteOurs FILE FACT OURS TEXT DELETE
  StrCpy $File "${FILE}"
  ${If} ${FileExists} $File
    !insertmacro ${FACT} $File $R9
    !insertmacro FileDecision $Elevated $R9 "${OURS}" $R9
    ${If} $R9 == delete
      !insertmacro ${DELETE} $File
    ${Else}
      !insertmacro Say "${TEXT}"
    ${EndIf}
  ${EndIf}
!macroend

Section "Quillmere"
  ${If} $MultiUser.InstallMode == CurrentUser
    ; Elevated, nothing is written where only the user's own settings point,
    ; or under a link of theirs, either.
    !insertmacro UserFolder $INSTDIR "${USER_PROGRAMS}" $0
    ${If} $0 != delete
      SetErrorLevel 5 ; ERROR_ACCESS_DENIED
      !insertmacro Say "$(NotInstalledElevated)"
      Abort
    ${EndIf}
  ${EndIf}
  SetOutPath $INSTDIR
  SetOverwrite on
  File "/oname=$ScrPath" "${SCR}"
  !ifdef KEEP_UNINSTALLER
    WriteUninstaller "$INSTDIR\uninstall.exe"
  !else
    ${If} $MultiUser.InstallMode == AllUsers
      WriteUninstaller "$INSTDIR\uninstall.exe"
    ${Else}
      File "/oname=$INSTDIR\uninstall.exe" "${USER_UNINSTALLER}"
    ${EndIf}
  !endif
  ; Its icon is the .scr: what marks it as Quillmere's (DeleteOurs).
  CreateShortcut "$INSTDIR\${SETTINGS_LNK}" "$SYSDIR\control.exe" "desk.cpl,,@screensaver" $ScrPath
  Call ReplaceOther

  WriteRegStr SHCTX "${UNINST_KEY}" DisplayName "${DISPLAY_NAME}"
  WriteRegStr SHCTX "${UNINST_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINST_KEY}" DisplayIcon "$ScrPath"
  WriteRegStr SHCTX "${UNINST_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINST_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINST_KEY}" NoModify 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" NoRepair 1
  StrCpy $1 0
  StrCpy $0 $ScrPath
  !insertmacro AddFileSize
  StrCpy $0 "$INSTDIR\uninstall.exe"
  !insertmacro AddFileSize
  IntOp $1 $1 + 1023
  IntOp $1 $1 / 1024
  WriteRegDWORD SHCTX "${UNINST_KEY}" EstimatedSize $1
SectionEnd

; The installation in the other mode, if there is one, gives way to this
; one: its files and its entry go, and the user's screensaver, when it was
; that one, becomes this one. Settings stay. What is not this account's to
; change is left, and said (ReplaceDecision).
Function ReplaceOther
  !insertmacro ReplaceFacts $MultiUser.InstallMode $R1 $R0 $R2
  StrCpy $1 "$SYSDIR\quillmere.scr"
  ${If} $MultiUser.InstallMode == AllUsers
    StrCpy $1 "$R0\quillmere.scr"
  ${EndIf}
  !insertmacro ReplaceDecision $MultiUser.InstallMode $R1 $R0 $R2 $R3
  ${If} $R3 == replace
  ${AndIf} $MultiUser.InstallMode == AllUsers
    ; The user's own folder: they can make it, or one above it, a link.
    !insertmacro UserFolder $R0 "${USER_PROGRAMS}" $R4
    ${If} $R4 != delete
      Return
    ${EndIf}
  ${EndIf}
  ${If} $R3 == none
    Return
  ${ElseIf} $R3 == account
    !insertmacro Tell "$(OtherAccountKeptYours)"
    Return
  ${ElseIf} $R3 == folder
    StrCpy $Folder $R0
    StrCpy $Own $R2
    !insertmacro Say "$(LeftEntry)"
    Return
  ${ElseIf} $R3 == files
    !insertmacro Tell "$(OtherAccountRemovedMachine)"
  ${Else}
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro LongPath
    ${If} $2 == $1
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $ScrPath
    ${EndIf}
  ${EndIf}
  ${If} $MultiUser.InstallMode == AllUsers
    ; The user's folder: only Quillmere's own files go (the shortcut before
    ; the .scr it takes its icon from).
    !insertmacro DeleteOurs "$R0\${SETTINGS_LNK}" ShortcutNames "$1|${OURS}" "$(LeftShortcut)" DeleteNow
    !insertmacro DeleteOurs $1 FileNames "${OURS}" "$(LeftFile)" DeleteNow
    !insertmacro DeleteOurs "$R0\uninstall.exe" FileNames "${OURS}" "$(LeftFile)" DeleteNow
  ${Else}
    Delete $1
    Delete "$R0\uninstall.exe"
    Delete "$R0\${SETTINGS_LNK}"
  ${EndIf}
  RMDir $R0
  ${If} $MultiUser.InstallMode == AllUsers
    DeleteRegKey HKCU "${UNINST_KEY}"
  ${Else}
    DeleteRegKey HKLM "${UNINST_KEY}"
  ${EndIf}
FunctionEnd

; A silent install changes the user's screensaver only when asked.
Function .onInstSuccess
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ACTIVATE" $1
    ${IfNot} ${Errors}
      Call Activate
    ${EndIf}
  ${EndIf}
FunctionEnd

; Makes the installed .scr the user's screensaver and switches screensavers
; on, keeping both values as they were (empty when not there) unless the
; screensaver is already a Quillmere one: then an earlier activation kept
; them. As another account, it leaves the choice to the user in the Screen
; Saver Settings.
Function Activate
  !insertmacro SessionUser $0
  ${If} $0 != 1
    ${IfNot} ${Silent}
      Call OpenSettings
    ${EndIf}
    Return
  ${EndIf}
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ReadRegStr $1 HKCU "${DESKTOP_KEY}" ScreenSaveActive
  !insertmacro LongPath
  StrCpy $2 $2 "" -14
  ${If} $2 != "\quillmere.scr"
    WriteRegStr HKCU "${OWN_KEY}" PreviousScreensaver $0
    WriteRegStr HKCU "${OWN_KEY}" PreviousScreenSaveActive $1
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $ScrPath
  WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive "1"
  !insertmacro TellSession
FunctionEnd

; Opens the Screen Saver Settings as the signed-in user, not elevated:
; Explorer started from here hands the shortcut to the shell that is already
; running. (Run from here, they would save under the administrator's
; account, and the screensaver's own dialog into HKLM.)
Function OpenSettings
  ${If} $SettingsOpened != 1
    StrCpy $SettingsOpened 1
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${SETTINGS_LNK}"'
  ${EndIf}
FunctionEnd

; Which installation this uninstaller belongs to: the one for everyone when
; the machine's entry names its folder, otherwise the user's. Whether it may
; remove it, and the user's part too, is decided before anything is touched
; (UninstallDecision).
Function un.onInit
  !insertmacro Begin
  !insertmacro MULTIUSER_UNINIT
  !insertmacro UninstallFacts $INSTDIR $MultiUser.InstallMode $1 $0
  ${If} $MultiUser.InstallMode == AllUsers
    SetShellVarContext all
    StrCpy $ScrPath "$SYSDIR\quillmere.scr"
  ${Else}
    SetShellVarContext current
    StrCpy $ScrPath "$INSTDIR\quillmere.scr"
  ${EndIf}
  !insertmacro UninstallDecision $MultiUser.InstallMode $1 $0 $Uninstall
  ${If} $Uninstall == rights
    !insertmacro Refuse "$(NeedAdminToUninstall)"
  ${ElseIf} $Uninstall == account
    !insertmacro Refuse "$(UninstallAsThatUser)"
  ${EndIf}
FunctionEnd

; Puts back value NAME of the user's desktop as kept in VALUE (empty: it was
; not there).
!macro GiveBack NAME VALUE
  ${If} ${VALUE} == ""
    DeleteRegValue HKCU "${DESKTOP_KEY}" "${NAME}"
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "${NAME}" ${VALUE}
  ${EndIf}
!macroend

Section "Uninstall"
  ; The signed-in user's part, only as that user (UninstallDecision).
  ${If} $Uninstall == all
    ; The screensaver and the switch as they were before, if ours is still
    ; the user's (with nothing kept: no screensaver, the switch as it is).
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro LongPath
    ${If} $2 == $ScrPath
      ReadRegStr $1 HKCU "${OWN_KEY}" PreviousScreensaver
      !insertmacro GiveBack "SCRNSAVE.EXE" $1
      ClearErrors
      ReadRegStr $1 HKCU "${OWN_KEY}" PreviousScreenSaveActive
      ${IfNot} ${Errors}
        !insertmacro GiveBack ScreenSaveActive $1
      ${EndIf}
      !insertmacro TellSession
    ${EndIf}
    ; The log the screensaver writes when it cannot write where it runs,
    ; and its folder when nothing else is in it: a folder of the user's.
    ReadEnvStr $0 LOCALAPPDATA
    ${If} $0 != ""
      !insertmacro UserFolder "$0\Quillmere" "${USER_LOGS}" $1
      ${If} $1 == delete
        Delete "$0\Quillmere\screen.log"
        RMDir "$0\Quillmere"
      ${EndIf}
    ${EndIf}
    ; Quillmere's settings, and the publisher's key when nothing else is in it.
    DeleteRegKey HKCU "${OWN_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Tovarind"
  ${Else}
    !insertmacro Tell "$(OtherAccountUninstalled)"
  ${EndIf}
  ${If} $MultiUser.InstallMode == AllUsers
    Delete $ScrPath
    !insertmacro DeleteUninstaller "$INSTDIR\uninstall.exe"
    ; Left to the next restart if it still runs: a folder of the machine's.
    Delete /REBOOTOK "$INSTDIR\uninstall.exe"
    Delete "$INSTDIR\${SETTINGS_LNK}"
    RMDir /REBOOTOK $INSTDIR
    ; The machine's settings only with the installation for everyone.
    DeleteRegKey HKLM "${OWN_KEY}"
    DeleteRegKey /ifempty HKLM "Software\Tovarind"
  ${Else}
    ; The user's folder: nothing is queued for the next restart there, and
    ; elevated, nothing is touched where only the user's own settings point
    ; or under a link (the entry stays, for an uninstall as the user), and
    ; only Quillmere's own files go.
    !insertmacro UserFolder $INSTDIR "${USER_PROGRAMS}" $0
    ${If} $0 != delete
      Return
    ${EndIf}
    !insertmacro DeleteOurs "$INSTDIR\${SETTINGS_LNK}" ShortcutNames "$ScrPath|${OURS}" "$(LeftShortcut)" DeleteNow
    !insertmacro DeleteOurs $ScrPath FileNames "${OURS}" "$(LeftFile)" DeleteNow
    !insertmacro DeleteOurs "$INSTDIR\uninstall.exe" FileNames "${OURS}" "$(LeftFile)" DeleteUninstaller
    RMDir $INSTDIR
  ${EndIf}
  ; The entry goes last: while it is there, the uninstall has not finished.
  DeleteRegKey SHCTX "${UNINST_KEY}"
SectionEnd
