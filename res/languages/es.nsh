; The installer's and the uninstaller's own texts in Spanish; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_SPANISH} "Instale Quillmere para todos los usuarios de este equipo (requiere derechos de administrador) o solo para usted. Solo para usted, no aparece en la lista de protectores de pantalla (Windows solo muestra los de sus propias carpetas), pero funciona en cuanto lo elija en la última página."
LangString InstallJustForMe ${LANG_SPANISH} "Solo para mí (no aparece en la lista de protectores de pantalla)"
LangString MakeItMyScreensaver ${LANG_SPANISH} "Usar Quillmere como protector de pantalla"
LangString OpenScreenSaverSettings ${LANG_SPANISH} "Abrir Configuración del protector de pantalla"

; NSIS's own Spanish says "Instación" (a slip) and "ordenador" where Windows says "equipo".
LangString MULTIUSER_INNERTEXT_INSTALLMODE_ALLUSERS ${LANG_SPANISH} "Instalar para cualquier usuario de este equipo"
