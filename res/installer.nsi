; The Quillmere installer (64-bit NSIS). scripts/package builds it:
;   makensis -DVERSION=x.y.z -DSCR=/abs/quillmere.scr -DOUTFILE=/abs/setup.exe
;            [-DSIGN=command] res/installer.nsi
; SIGN, when given, is run on the uninstaller before it is packed ("%1").
;
; For everyone (the default when it can elevate, or /ALLUSERS): quillmere.scr
; into System32, where the Screen Saver Settings list finds it; the
; uninstaller in Program Files\Quillmere; the entry under HKLM.
; For one user (/CURRENTUSER, or the choice on its page): everything in
; %LOCALAPPDATA%\Programs\Quillmere and the entry under HKCU.
; "Make Quillmere my screensaver" (the finish page's box, /ACTIVATE when
; silent) points the user's SCRNSAVE.EXE at it and keeps the one before,
; which the uninstaller gives back.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere"
!define OWN_KEY "Software\Tovarind\Quillmere"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "Quillmere"
OutFile "${OUTFILE}"
BrandingText "Quillmere ${VERSION}"
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey ProductName "Quillmere"
VIAddVersionKey CompanyName "Tovarind"
VIAddVersionKey FileDescription "Quillmere screensaver setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Copyright (C) Tovarind"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR Quillmere
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_FUNCTION ModeChosen
!define MULTIUSER_INSTALLMODEPAGE_TEXT_TOP "Install Quillmere for everyone on this computer (needs administrator rights), or just for you. Just for you, it is not in the Screen Saver Settings list (Windows lists only the screensavers in its own folders), but it runs once made your screensaver on the last page."
!define MULTIUSER_INSTALLMODEPAGE_TEXT_CURRENTUSER "Install just for me (not listed in the Screen Saver Settings)"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define MUI_ICON "quillmere.ico"
!define MUI_UNICON "quillmere.ico"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Make Quillmere my screensaver"
!define MUI_FINISHPAGE_RUN_FUNCTION Activate
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the Screen Saver Settings"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenSettings
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"' = 0
!endif

Var ScrPath ; where quillmere.scr goes (System32 or the per-user folder)

Function ModeChosen
  ${If} $MultiUser.InstallMode == AllUsers
    StrCpy $ScrPath "$SYSDIR\quillmere.scr"
  ${Else}
    StrCpy $ScrPath "$INSTDIR\quillmere.scr"
  ${EndIf}
FunctionEnd

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

; Size of file $0 in bytes, added to $1.
!macro AddFileSize
  FileOpen $2 $0 r
  FileSeek $2 0 END $3
  FileClose $2
  IntOp $1 $1 + $3
!macroend

Section "Quillmere"
  SetOutPath $INSTDIR
  SetOverwrite on
  File "/oname=$ScrPath" "${SCR}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "${UNINST_KEY}" DisplayName "Quillmere screensaver"
  WriteRegStr SHCTX "${UNINST_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" Publisher "Tovarind"
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

; Makes the installed .scr the user's screensaver, keeping the one before
; (an empty text when there was none) unless it is already ours.
Function Activate
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    StrCpy $0 ""
  ${EndIf}
  ${If} $0 != $ScrPath
    WriteRegStr HKCU "${OWN_KEY}" PreviousScreensaver $0
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $ScrPath
  WriteRegStr HKCU "${DESKTOP_KEY}" ScreenSaveActive "1"
FunctionEnd

Function OpenSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; Which installation this uninstaller belongs to: the one for everyone when
; the machine's entry names its folder, otherwise the user's.
Function un.onInit
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 HKLM "${UNINST_KEY}" InstallLocation
  ${If} $0 == $INSTDIR
    SetShellVarContext all
    StrCpy $ScrPath "$SYSDIR\quillmere.scr"
  ${Else}
    SetShellVarContext current
    StrCpy $ScrPath "$INSTDIR\quillmere.scr"
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; The earlier screensaver comes back if ours is still the user's.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == $ScrPath
    ReadRegStr $1 HKCU "${OWN_KEY}" PreviousScreensaver
    ${If} $1 == ""
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
    ${EndIf}
  ${EndIf}
  Delete $ScrPath
  Delete "$INSTDIR\uninstall.exe"
  RMDir $INSTDIR
  ; Quillmere's settings, and the publisher's key when nothing else is in it.
  DeleteRegKey HKLM "${OWN_KEY}"
  DeleteRegKey HKCU "${OWN_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Tovarind"
  DeleteRegKey /ifempty HKCU "Software\Tovarind"
  ; The entry goes last: while it is there, the uninstall has not finished.
  DeleteRegKey SHCTX "${UNINST_KEY}"
SectionEnd
