; The installer's and the uninstaller's own texts in German; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_GERMAN} "Installieren Sie Quillmere für alle Benutzer dieses Computers (erfordert Administratorrechte) oder nur für sich. Nur für Sie installiert, fehlt es in der Liste der Bildschirmschoner (Windows listet nur die aus seinen eigenen Ordnern), läuft aber, sobald Sie es auf der letzten Seite als Bildschirmschoner festlegen."
LangString InstallJustForMe ${LANG_GERMAN} "Nur für mich installieren (nicht in der Bildschirmschonerliste)"
LangString MakeItMyScreensaver ${LANG_GERMAN} "Quillmere als Bildschirmschoner verwenden"
LangString OpenScreenSaverSettings ${LANG_GERMAN} "Bildschirmschonereinstellungen öffnen"

; Boxes, after which the installer or the uninstaller ends with exit code 5.
LangString NeedAdminToUpdate ${LANG_GERMAN} "Quillmere ist für alle Benutzer dieses Computers installiert: Zum Aktualisieren sind Administratorrechte erforderlich."
LangString NeedAdminToInstall ${LANG_GERMAN} "Um Quillmere für alle Benutzer dieses Computers zu installieren, sind Administratorrechte erforderlich."
LangString NeedAdminToUninstall ${LANG_GERMAN} "Quillmere ist für alle Benutzer dieses Computers installiert: Zum Deinstallieren sind Administratorrechte erforderlich."
LangString UninstallAsThatUser ${LANG_GERMAN} "Dieses Quillmere ist nur für einen Benutzer installiert: Deinstallieren Sie es, während Sie als dieser Benutzer angemeldet sind, nicht mit einem anderen Konto."

; Lines of the details; the first three in a box too, unless silent.
LangString OtherAccountKeptYours ${LANG_GERMAN} "Quillmere wurde mit einem anderen Konto installiert als dem, das in dieser Sitzung angemeldet ist. Hatte der angemeldete Benutzer es nur für sich installiert, bleibt diese Installation erhalten: Er deinstalliert sie unter „Apps“."
LangString OtherAccountRemovedMachine ${LANG_GERMAN} "Quillmere für alle Benutzer wurde mit einem anderen Konto entfernt als dem, das in dieser Sitzung angemeldet ist. War es der Bildschirmschoner des angemeldeten Benutzers, wählt er in den Bildschirmschonereinstellungen einen anderen aus."
LangString OtherAccountUninstalled ${LANG_GERMAN} "Quillmere wurde mit einem anderen Konto entfernt als dem, das in dieser Sitzung angemeldet ist. Daher bleiben der Bildschirmschoner des angemeldeten Benutzers und seine Quillmere-Einstellungen unverändert. War Quillmere sein Bildschirmschoner, wählt er in den Bildschirmschonereinstellungen einen anderen aus."
LangString NotInstalledElevated ${LANG_GERMAN} "Quillmere wurde nicht installiert: Führen Sie das Installationsprogramm ohne Administratorrechte erneut aus, um es nur für sich zu installieren."
LangString LeftEntry ${LANG_GERMAN} "Unverändert gelassen: Der Eintrag von Quillmere nur für Sie nennt $Folder, nicht $Own."
LangString LeftLink ${LANG_GERMAN} "Unverändert gelassen: $Link ist eine Verzeichnisverbindung oder ein Link; daher wurde in $Folder nichts geändert."
LangString LeftNamed ${LANG_GERMAN} "Unverändert gelassen: $Folder ist der Ort, auf den die eigenen Einstellungen des Benutzers verweisen, nicht $Own in dem Profil, das Windows für ihn führt; darin wurde daher nichts geändert."
LangString LeftFile ${LANG_GERMAN} "Unverändert gelassen: $File gehört nicht zu ${PRODUCT} (seine Versionsinformationen nennen nicht ${PRODUCT} und ${PUBLISHER})."
LangString LeftShortcut ${LANG_GERMAN} "Unverändert gelassen: $File gehört nicht zu ${PRODUCT} (es verweist nicht auf die quillmere.scr von ${PRODUCT} in diesem Ordner)."
