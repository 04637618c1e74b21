; The installer's and the uninstaller's own texts in French; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_FRENCH} "Installez Quillmere pour tous les utilisateurs de cet ordinateur (droits d'administrateur requis) ou pour vous seul. Pour vous seul, il n'apparaît pas dans la liste des écrans de veille (Windows n'y montre que ceux de ses propres dossiers), mais il fonctionne dès que vous le choisissez à la dernière page."
LangString InstallJustForMe ${LANG_FRENCH} "Pour moi seulement (absent de la liste des écrans de veille)"
LangString MakeItMyScreensaver ${LANG_FRENCH} "Utiliser Quillmere comme écran de veille"
LangString OpenScreenSaverSettings ${LANG_FRENCH} "Ouvrir les paramètres de l'écran de veille"
