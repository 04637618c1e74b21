; The installer's and the uninstaller's own texts in German; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_GERMAN} "Installieren Sie Quillmere für alle Benutzer dieses Computers (erfordert Administratorrechte) oder nur für sich. Nur für Sie installiert, fehlt es in der Liste der Bildschirmschoner (Windows listet nur die aus seinen eigenen Ordnern), läuft aber, sobald Sie es auf der letzten Seite als Bildschirmschoner festlegen."
LangString InstallJustForMe ${LANG_GERMAN} "Nur für mich installieren (nicht in der Bildschirmschonerliste)"
LangString MakeItMyScreensaver ${LANG_GERMAN} "Quillmere als Bildschirmschoner verwenden"
LangString OpenScreenSaverSettings ${LANG_GERMAN} "Bildschirmschonereinstellungen öffnen"
