; The facts the installer and the uninstaller decide on (installer_decisions.nsh), each gathered by
; one small macro that keeps every register but its OUT. Needs LogicLib, FileFunc and the System
; plug-in; UNINST_KEY names the Apps entry.

; OUT: the account's type as Windows gives it: Admin, Power, User or Guest. Only Admin has the rights
; of an administrator: since Windows Vista a Power User cannot write System32 or the machine's key.
!macro AccountType OUT
  UserInfo::GetAccountType
  Pop ${OUT}
!macroend

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

; OUT = 1 when this process runs as the user signed in to this session (GetUserNameEx against
; WTSQuerySessionInformation), else 0. Elevated with an administrator's password it runs as that
; administrator, whose registry and profile are not the user's.
!macro SessionUser OUT
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  System::Call 'secur32::GetUserNameExW(i 2, w .r1, *i ${NSIS_MAX_STRLEN})' ; DOMAIN\user
  StrCpy $2 ""
  ${ForEach} $0 7 5 - 2 ; WTSDomainName, WTSUserName
    System::Call 'wtsapi32::WTSQuerySessionInformationW(p 0, i -1, i r0, *p .r3, *i) i .r4'
    ${If} $4 <> 0
      System::Call 'kernel32::lstrcpyW(w .r4, p r3)'
      System::Call 'wtsapi32::WTSFreeMemory(p r3)'
      StrCpy $2 "$2$4\"
    ${EndIf}
  ${Next}
  StrCpy $0 0
  ${If} "$1\" == $2
    StrCpy $0 1
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
  Pop ${OUT}
!macroend

; OUT: the folder of the installation whose entry is under ROOT (HKLM: for everyone, HKCU: this
; account's), "" with none.
!macro Installation ROOT OUT
  ReadRegStr ${OUT} ${ROOT} "${UNINST_KEY}" InstallLocation
!macroend

; OUT: the folder an installation for this account alone goes into (as MultiUser.nsh chooses it;
; Wine knows no FOLDERID_UserProgramFiles).
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

; The facts of each decision, as the installer and the uninstaller gather them.

; InstallDecision's: the account's type, /ALLUSERS asked, the installation for everyone's folder.
!macro InstallFacts ACCOUNT ASKED MACHINE
  !insertmacro AccountType ${ACCOUNT}
  !insertmacro AskedForEveryone ${ASKED}
  !insertmacro Installation HKLM ${MACHINE}
!macroend

; ReplaceDecision's for an installation in MODE: whether this is the session's user, the other
; mode's installation (this account's for AllUsers, the machine's for CurrentUser) and, for AllUsers,
; the folder an installation for this account alone goes into ("" for CurrentUser).
!macro ReplaceFacts MODE SESSION OTHER OWN
  !insertmacro SessionUser ${SESSION}
  ${If} ${MODE} == AllUsers
    !insertmacro Installation HKCU ${OTHER}
    !insertmacro UserInstallFolder ${OWN}
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
