; The installer's and the uninstaller's own texts in Spanish; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_SPANISH} "Instale Quillmere para todos los usuarios de este equipo (requiere derechos de administrador) o solo para usted. Solo para usted, no aparece en la lista de protectores de pantalla (Windows solo muestra los de sus propias carpetas), pero funciona en cuanto lo elija en la última página."
LangString InstallJustForMe ${LANG_SPANISH} "Solo para mí (no aparece en la lista de protectores de pantalla)"
LangString MakeItMyScreensaver ${LANG_SPANISH} "Usar Quillmere como protector de pantalla"
LangString OpenScreenSaverSettings ${LANG_SPANISH} "Abrir Configuración del protector de pantalla"


; Boxes, after which the installer or the uninstaller ends with exit code 5.
LangString NeedAdminToUpdate ${LANG_SPANISH} "Quillmere está instalado para todos los usuarios de este equipo: para actualizarlo se necesitan derechos de administrador."
LangString NeedAdminToInstall ${LANG_SPANISH} "Para instalar Quillmere para todos los usuarios de este equipo se necesitan derechos de administrador."
LangString NeedAdminToUninstall ${LANG_SPANISH} "Quillmere está instalado para todos los usuarios de este equipo: para desinstalarlo se necesitan derechos de administrador."
LangString UninstallAsThatUser ${LANG_SPANISH} "Este Quillmere está instalado solo para un usuario: desinstálelo con la sesión iniciada como ese usuario, no con otra cuenta."

; Lines of the details; the first three in a box too, unless silent.
LangString OtherAccountKeptYours ${LANG_SPANISH} "Quillmere se instaló con una cuenta distinta de la que tiene la sesión iniciada. Si el usuario con la sesión iniciada lo había instalado solo para él, esa instalación se mantiene: puede desinstalarla en Aplicaciones."
LangString OtherAccountRemovedMachine ${LANG_SPANISH} "Quillmere para todos los usuarios se quitó con una cuenta distinta de la que tiene la sesión iniciada. Si era el protector de pantalla del usuario con la sesión iniciada, este elige otro en Configuración del protector de pantalla."
LangString OtherAccountUninstalled ${LANG_SPANISH} "Quillmere se quitó con una cuenta distinta de la que tiene la sesión iniciada, así que el protector de pantalla del usuario con la sesión iniciada y su configuración de Quillmere se dejaron como estaban. Si Quillmere era su protector de pantalla, este elige otro en Configuración del protector de pantalla."
LangString NotInstalledElevated ${LANG_SPANISH} "Quillmere no se instaló: vuelva a ejecutar el instalador sin derechos de administrador para instalarlo solo para usted."
LangString LeftEntry ${LANG_SPANISH} "Se deja como está: la entrada de Quillmere solo para usted indica $Folder, no $Own."
LangString LeftLink ${LANG_SPANISH} "Se deja como está: $Link es una unión o un vínculo, así que no se cambió nada en $Folder."

; NSIS's own Spanish says "Instación" (a slip) and "ordenador" where Windows says "equipo".
!pragma warning push
!pragma warning disable 6030 ; the language file's, set again on purpose
LangString MULTIUSER_INNERTEXT_INSTALLMODE_ALLUSERS ${LANG_SPANISH} "Instalar para cualquier usuario de este equipo"
!pragma warning pop
LangString LeftNamed ${LANG_SPANISH} "Se deja como está: $Folder es adonde apunta la configuración propia del usuario, no $Own en el perfil que Windows mantiene para él, así que no se cambió nada en esa carpeta."
LangString LeftFile ${LANG_SPANISH} "Se deja como está: $File no es de ${PRODUCT} (su información de versión no indica ${PRODUCT} y ${PUBLISHER})."
LangString LeftShortcut ${LANG_SPANISH} "Se deja como está: $File no es de ${PRODUCT} (no apunta al quillmere.scr propio de ${PRODUCT} en esa carpeta)."
