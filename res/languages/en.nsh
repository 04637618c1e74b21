; The installer's and the uninstaller's own texts in English, the fallback, that installer_texts.nsh
; does not hold; NSIS's own language file gives its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_ENGLISH} "Install Quillmere for everyone on this computer (needs administrator rights), or just for you. Just for you, it is not in the Screen Saver Settings list (Windows lists only the screensavers in its own folders), but it runs once made your screensaver on the last page."
LangString InstallJustForMe ${LANG_ENGLISH} "Install just for me (not listed in the Screen Saver Settings)"
LangString MakeItMyScreensaver ${LANG_ENGLISH} "Make Quillmere my screensaver"
LangString OpenScreenSaverSettings ${LANG_ENGLISH} "Open the Screen Saver Settings"
