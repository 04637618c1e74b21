; The installer's and the uninstaller's own texts in English, the fallback; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_ENGLISH} "Install Quillmere for everyone on this computer (needs administrator rights), or just for you. Just for you, it is not in the Screen Saver Settings list (Windows lists only the screensavers in its own folders), but it runs once made your screensaver on the last page."
LangString InstallJustForMe ${LANG_ENGLISH} "Install just for me (not listed in the Screen Saver Settings)"
LangString MakeItMyScreensaver ${LANG_ENGLISH} "Make Quillmere my screensaver"
LangString OpenScreenSaverSettings ${LANG_ENGLISH} "Open the Screen Saver Settings"

; Boxes, after which the installer or the uninstaller ends with exit code 5.
LangString NeedAdminToUpdate ${LANG_ENGLISH} "Quillmere is installed for everyone on this computer: updating it needs administrator rights."
LangString NeedAdminToInstall ${LANG_ENGLISH} "Installing Quillmere for everyone on this computer needs administrator rights."
LangString NeedAdminToUninstall ${LANG_ENGLISH} "Quillmere is installed for everyone on this computer: uninstalling it needs administrator rights."
LangString UninstallAsThatUser ${LANG_ENGLISH} "This Quillmere is installed just for one user: uninstall it signed in as that user, not with another account."

; Lines of the details; the first three in a box too, unless silent.
LangString OtherAccountKeptYours ${LANG_ENGLISH} "Quillmere was installed with another account than the one signed in to this session. If the signed-in user had installed it just for themselves, that installation stays: they uninstall it in Apps."
LangString OtherAccountRemovedMachine ${LANG_ENGLISH} "Quillmere for everyone was removed with another account than the one signed in to this session. If it was the signed-in user's screensaver, they choose another one in the Screen Saver Settings."
LangString OtherAccountUninstalled ${LANG_ENGLISH} "Quillmere was removed with another account than the one signed in to this session, so the signed-in user's screensaver and Quillmere's settings for them were left as they are. If Quillmere was their screensaver, they choose another one in the Screen Saver Settings."
LangString NotInstalledElevated ${LANG_ENGLISH} "Quillmere was not installed: run the installer again without administrator rights to install it just for you."
LangString LeftEntry ${LANG_ENGLISH} "Left alone: the entry of Quillmere just for you names $R0, not $R2."
LangString LeftLink ${LANG_ENGLISH} "Left alone: $R1 is a junction or a link, so nothing in $R0 was changed."
