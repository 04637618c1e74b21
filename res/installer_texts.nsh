; Every text of the installer's and the uninstaller's own, one place each way: the boxes, and the lines
; of the details, which the log (/LOG=FILE) gets too. A $name in a text is filled in as it is said.
; Needs MUI_LANGUAGE and the variables named.

; Boxes (each also in the log), after which the installer or the uninstaller ends with exit code 5.
LangString NeedAdminToUpdate ${LANG_ENGLISH} "${PRODUCT} is installed for everyone on this computer: updating it needs administrator rights."
LangString NeedAdminToInstall ${LANG_ENGLISH} "Installing ${PRODUCT} for everyone on this computer needs administrator rights."
LangString NeedAdminToUninstall ${LANG_ENGLISH} "${PRODUCT} is installed for everyone on this computer: uninstalling it needs administrator rights."
LangString UninstallAsThatUser ${LANG_ENGLISH} "This ${PRODUCT} is installed just for one user: uninstall it signed in as that user, not with another account."

; Lines of the details; the first three in a box too, unless silent.
LangString OtherAccountKeptYours ${LANG_ENGLISH} "${PRODUCT} was installed with another account than the one signed in to this session. If the signed-in user had installed it just for themselves, that installation stays: they uninstall it in Apps."
LangString OtherAccountRemovedMachine ${LANG_ENGLISH} "${PRODUCT} for everyone was removed with another account than the one signed in to this session. If it was the signed-in user's screensaver, they choose another one in the Screen Saver Settings."
LangString OtherAccountUninstalled ${LANG_ENGLISH} "${PRODUCT} was removed with another account than the one signed in to this session, so the signed-in user's screensaver and ${PRODUCT}'s settings for them were left as they are. If ${PRODUCT} was their screensaver, they choose another one in the Screen Saver Settings."
LangString NotInstalledElevated ${LANG_ENGLISH} "${PRODUCT} was not installed: run the installer again without administrator rights to install it just for you."
LangString LeftEntry ${LANG_ENGLISH} "Left alone: the entry of ${PRODUCT} just for you names $Folder, not $Own."
LangString LeftNamed ${LANG_ENGLISH} "Left alone: $Folder is where the user's own settings point, not $Own in the profile Windows keeps for them, so nothing in it was changed."
LangString LeftLink ${LANG_ENGLISH} "Left alone: $Link is a junction or a link, so nothing in $Folder was changed."
LangString LeftFile ${LANG_ENGLISH} "Left alone: $File is not ${PRODUCT}'s (its version information does not name ${PRODUCT} and ${PUBLISHER})."
LangString LeftShortcut ${LANG_ENGLISH} "Left alone: $File is not ${PRODUCT}'s (it does not point at ${PRODUCT}'s own quillmere.scr in that folder)."
