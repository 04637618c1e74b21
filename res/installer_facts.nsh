; The facts the installer and the uninstaller decide on (installer_decisions.nsh), each gathered by
; one small macro that keeps every register but its OUT. Needs LogicLib, FileFunc and the System
; plug-in; UNINST_KEY names the Apps entry.

; Where Quillmere keeps the files of an installation just for one user, and the log the screensaver
; writes when it cannot write where it runs, below their profile folder.
!define USER_PROGRAMS "AppData\Local\Programs\Quillmere"
!define USER_LOGS "AppData\Local\Quillmere"

; OUT: the account's type as Windows gives it: Admin, Power, User or Guest. Only Admin has the rights
; of an administrator: since Windows Vista a Power User cannot write System32 or the machine's key.
; A build for a test may give its own first.
!ifmacrondef AccountType
!macro AccountType OUT
  UserInfo::GetAccountType
  Pop ${OUT}
!macroend
!endif

; OUT = 1 when this process runs elevated (its token is an administrator's full one), else 0.
!macro Elevated OUT
  Push $0
  Push $1
  StrCpy $1 0
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r0) i .r1' ; TOKEN_QUERY
  ${If} $1 <> 0
    System::Call 'advapi32::GetTokenInformation(p r0, i 20, *i 0 r1, i 4, *i) i' ; TokenElevation
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  ${If} $1 <> 0
    StrCpy $1 1
  ${EndIf}
  Exch $1
  Exch
  Pop $0
  Pop ${OUT}
!macroend

; OUT: the account signed in to this session, as DOMAIN\user (WTSQuerySessionInformation).
!macro SessionAccount OUT
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $1 ""
  ${ForEach} $0 7 5 - 2 ; WTSDomainName, WTSUserName
    System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i r0, *p .r2, *i) i .r3'
    ${If} $3 <> 0
      System::Call 'kernel32::lstrcpyW(w .r3, p r2)'
      System::Call 'wtsapi32::WTSFreeMemory(p r2)'
      StrCpy $1 "$1\$3"
    ${EndIf}
  ${Next}
  StrCpy $1 $1 "" 1
  Pop $3
  Pop $2
  Exch $1
  Exch
  Pop $0
  Pop ${OUT}
!macroend

; OUT = 1 when this process runs as the user signed in to this session (GetUserNameEx against
; SessionAccount), else 0. Elevated with an administrator's password it runs as that administrator,
; whose registry and profile are not the user's.
!macro SessionUser OUT
  Push $0
  Push $1
  System::Call 'secur32::GetUserNameExW(i 2, w .r1, *i ${NSIS_MAX_STRLEN})' ; DOMAIN\user
  !insertmacro SessionAccount $0
  ${If} $1 == $0
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
  Exch $0
  Pop ${OUT}
!macroend

; OUT: the profile folder of the user signed in to this session as Windows keeps it, under the
; machine's ProfileList for the account's SID (only administrators can write there, unlike the
; user's own shell folders and environment); "" when not found.
!macro SessionProfile OUT
  Push $0
  Push $1
  Push $2
  !insertmacro SessionAccount $0
  StrCpy $2 ""
  System::Call '*(&i1 68) p .r1' ; SECURITY_MAX_SID_SIZE
  System::Call 'advapi32::LookupAccountNameW(p 0, w r0, p r1, *i 68, w .r0, *i ${NSIS_MAX_STRLEN}, *i) i .r0'
  ${If} $0 <> 0
    System::Call 'advapi32::ConvertSidToStringSidW(p r1, *p .r0) i .r2'
    ${If} $2 <> 0
      System::Call 'kernel32::lstrcpyW(w .r2, p r0)'
      System::Call 'kernel32::LocalFree(p r0)'
      ReadRegStr $2 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList\$2" ProfileImagePath
    ${EndIf}
  ${EndIf}
  System::Free $1
  Exch $2
  Exch 2
  Pop $0
  Pop $1
  Pop ${OUT}
!macroend

; OUT: the folder of the installation whose entry is under ROOT (HKLM: for everyone, HKCU: this
; account's), "" with none.
!macro Installation ROOT OUT
  ReadRegStr ${OUT} ${ROOT} "${UNINST_KEY}" InstallLocation
!macroend

; OUT: the folder an installation for this account alone goes into as the user's own settings name
; it (as MultiUser.nsh chooses it; Wine knows no FOLDERID_UserProgramFiles).
!macro UserInstallFolder OUT
  GetKnownFolderPath ${OUT} {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}
  ${If} ${OUT} == ""
    ReadEnvStr ${OUT} LOCALAPPDATA
    StrCpy ${OUT} "${OUT}\Programs"
  ${EndIf}
  StrCpy ${OUT} "${OUT}\Quillmere"
!macroend

; OUT = 1 when the command line asks for the installation for everyone (/ALLUSERS), else 0.
!macro AskedForEveryone OUT
  Push $0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/ALLUSERS" $0
  StrCpy $0 1
  ${If} ${Errors}
    StrCpy $0 0
  ${EndIf}
  Exch $0
  Pop ${OUT}
!macroend

; OUT: the attributes of FOLDER (-1 when it is not there).
!macro FolderAttributes FOLDER OUT
  System::Call 'kernel32::GetFileAttributesW(w "${FOLDER}") i .s'
  Pop ${OUT}
!macroend

; OUT: the first of FOLDER and the folders above it, up to STOP (neither STOP nor any folder above
; it), that is a reparse point (a junction, a symbolic link, a mount point): "" with none. Under a
; folder that is not STOP's, every folder up to the drive is looked at. ATTRIBUTES F A is the macro
; that puts folder F's attributes in A.
!macro ReparsePoint FOLDER STOP ATTRIBUTES OUT
  Push $0
  Push $1
  Push $2
  StrCpy $0 "${FOLDER}"
  StrCpy $2 ""
  ${Do}
    ${If} $0 == "${STOP}"
    ${OrIf} $0 == ""
      ${ExitDo}
    ${EndIf}
    !insertmacro ${ATTRIBUTES} $0 $1
    ${If} $1 <> -1
      IntOp $1 $1 & 0x400 ; FILE_ATTRIBUTE_REPARSE_POINT
      ${If} $1 <> 0
        StrCpy $2 $0
        ${ExitDo}
      ${EndIf}
    ${EndIf}
    ${GetParent} $0 $0
  ${Loop}
  Exch $2
  Exch 2
  Pop $0
  Pop $1
  Pop ${OUT}
!macroend

; OUT: what FILE's version resource names, "PRODUCT|PUBLISHER" (the ProductName and CompanyName of
; its first language); "" without one.
!macro FileNames FILE OUT
  Push "${FILE}"
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $5 ""
  System::Call 'version::GetFileVersionInfoSizeW(w r0, p 0) i .r1'
  ${If} $1 > 0
    System::Alloc $1
    Pop $2
    System::Call 'version::GetFileVersionInfoW(w r0, i 0, i r1, p r2) i .r1'
    System::Call 'version::VerQueryValueW(p r2, w "\VarFileInfo\Translation", *p .r3, *i .r4) i .r1'
    ${If} $1 <> 0
    ${AndIf} $4 >= 4
      System::Call '*$3(&i2 .r3, &i2 .r4)'
      IntFmt $3 "%04x" $3
      IntFmt $4 "%04x" $4
      StrCpy $3 "\StringFileInfo\$3$4\"
      System::Call 'version::VerQueryValueW(p r2, w "$3ProductName", *p .r4, *i) i .r1'
      ${If} $1 <> 0
        System::Call 'kernel32::lstrcpynW(w .r5, p r4, i ${NSIS_MAX_STRLEN})'
      ${EndIf}
      StrCpy $5 "$5|"
      System::Call 'version::VerQueryValueW(p r2, w "$3CompanyName", *p .r4, *i) i .r1'
      ${If} $1 <> 0
        System::Call 'kernel32::lstrcpynW(w .r4, p r4, i ${NSIS_MAX_STRLEN})'
        StrCpy $5 "$5$4"
      ${EndIf}
    ${EndIf}
    System::Free $2
  ${EndIf}
  Exch $5
  Exch 5
  Pop $0
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop ${OUT}
!macroend

; OUT: the file shortcut LNK takes its icon from, and what that file names (FileNames):
; "ICON|PRODUCT|PUBLISHER"; "" when LNK is no shortcut.
!macro ShortcutNames LNK OUT
  Push "${LNK}"
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $4 ""
  System::Call 'ole32::CoCreateInstance(g "{00021401-0000-0000-C000-000000000046}", p 0, i 1, g "{000214F9-0000-0000-C000-000000000046}", *p .r1) i .r3' ; ShellLink: IShellLinkW
  ${If} $3 = 0
    System::Call '$1->0(g "{0000010B-0000-0000-C000-000000000046}", *p .r2) i .r3' ; IPersistFile
    ${If} $3 = 0
      System::Call '$2->5(w r0, i 0) i .r3' ; Load
      ${If} $3 = 0
        System::Call '$1->16(w .r4, i ${NSIS_MAX_STRLEN}, *i) i .r3' ; GetIconLocation
      ${EndIf}
      ${If} $3 <> 0
        StrCpy $4 ""
      ${EndIf}
      System::Call '$2->2()'
    ${EndIf}
    System::Call '$1->2()'
  ${EndIf}
  ${If} $4 != ""
    !insertmacro FileNames $4 $0
    StrCpy $4 "$4|$0"
  ${EndIf}
  Exch $4
  Exch 4
  Pop $0
  Pop $3
  Pop $2
  Pop $1
  Pop ${OUT}
!macroend

; The facts of each decision, as the installer and the uninstaller gather them.

; InstallDecision's: the account's type, /ALLUSERS asked, the installation for everyone's folder.
!macro InstallFacts ACCOUNT ASKED MACHINE
  !insertmacro AccountType ${ACCOUNT}
  !insertmacro AskedForEveryone ${ASKED}
  !insertmacro Installation HKLM ${MACHINE}
!macroend

; The folder of the signed-in user's that this process may act in (OwnUserFolder): NAMED, the one
; their own settings name, or elevated, TAIL under the profile the machine keeps for them.
!macro OwnFolderFacts NAMED TAIL OUT
  Push $0
  Push $1
  Push $2
  StrCpy $2 "${NAMED}"
  !insertmacro Elevated $0
  !insertmacro SessionProfile $1
  !insertmacro OwnUserFolder $0 $1 $2 "${TAIL}" $0
  Pop $2
  Pop $1
  Exch $0
  Pop ${OUT}
!macroend

; ReplaceDecision's for an installation in MODE: whether this is the session's user, the other
; mode's installation (this account's for AllUsers, the machine's for CurrentUser) and, for AllUsers,
; the folder an installation for this account alone may be in (OwnFolderFacts; "" for CurrentUser).
!macro ReplaceFacts MODE SESSION OTHER OWN
  !insertmacro SessionUser ${SESSION}
  ${If} ${MODE} == AllUsers
    !insertmacro Installation HKCU ${OTHER}
    !insertmacro UserInstallFolder ${OWN}
    !insertmacro OwnFolderFacts ${OWN} "${USER_PROGRAMS}" ${OWN}
  ${Else}
    !insertmacro Installation HKLM ${OTHER}
    StrCpy ${OWN} ""
  ${EndIf}
!macroend

; UninstallDecision's for the uninstaller in FOLDER: the mode (AllUsers when the machine's entry names
; FOLDER), the account's type, whether this is the session's user.
!macro UninstallFacts FOLDER MODE ACCOUNT SESSION
  !insertmacro Installation HKLM ${MODE}
  ${If} ${MODE} == "${FOLDER}"
    StrCpy ${MODE} AllUsers
  ${Else}
    StrCpy ${MODE} CurrentUser
  ${EndIf}
  !insertmacro AccountType ${ACCOUNT}
  !insertmacro SessionUser ${SESSION}
!macroend
