; The installer's and the uninstaller's own texts in French; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_FRENCH} "Installez Quillmere pour tous les utilisateurs de cet ordinateur (droits d'administrateur requis) ou pour vous seul. Pour vous seul, il n'apparaît pas dans la liste des écrans de veille (Windows n'y montre que ceux de ses propres dossiers), mais il fonctionne dès que vous le choisissez à la dernière page."
LangString InstallJustForMe ${LANG_FRENCH} "Pour moi seulement (absent de la liste des écrans de veille)"
LangString MakeItMyScreensaver ${LANG_FRENCH} "Utiliser Quillmere comme écran de veille"
LangString OpenScreenSaverSettings ${LANG_FRENCH} "Ouvrir les paramètres de l'écran de veille"

; Boxes, after which the installer or the uninstaller ends with exit code 5.
LangString NeedAdminToUpdate ${LANG_FRENCH} "Quillmere est installé pour tous les utilisateurs de cet ordinateur : sa mise à jour nécessite des droits d'administrateur."
LangString NeedAdminToInstall ${LANG_FRENCH} "L'installation de Quillmere pour tous les utilisateurs de cet ordinateur nécessite des droits d'administrateur."
LangString NeedAdminToUninstall ${LANG_FRENCH} "Quillmere est installé pour tous les utilisateurs de cet ordinateur : sa désinstallation nécessite des droits d'administrateur."
LangString UninstallAsThatUser ${LANG_FRENCH} "Ce Quillmere est installé pour un seul utilisateur : désinstallez-le en étant connecté en tant que cet utilisateur, et non avec un autre compte."

; Lines of the details; the first three in a box too, unless silent.
LangString OtherAccountKeptYours ${LANG_FRENCH} "Quillmere a été installé avec un autre compte que celui connecté à cette session. Si l'utilisateur connecté l'avait installé pour lui seul, cette installation reste : il la désinstalle dans Applications."
LangString OtherAccountRemovedMachine ${LANG_FRENCH} "Quillmere pour tous les utilisateurs a été supprimé avec un autre compte que celui connecté à cette session. S'il était l'écran de veille de l'utilisateur connecté, celui-ci en choisit un autre dans les paramètres de l'écran de veille."
LangString OtherAccountUninstalled ${LANG_FRENCH} "Quillmere a été supprimé avec un autre compte que celui connecté à cette session : l'écran de veille de l'utilisateur connecté et ses paramètres de Quillmere restent donc tels quels. Si Quillmere était son écran de veille, il en choisit un autre dans les paramètres de l'écran de veille."
LangString NotInstalledElevated ${LANG_FRENCH} "Quillmere n'a pas été installé : relancez le programme d'installation sans droits d'administrateur pour l'installer pour vous seul."
LangString LeftEntry ${LANG_FRENCH} "Laissé tel quel : l'entrée de Quillmere pour vous seul indique $Folder, et non $Own."
LangString LeftLink ${LANG_FRENCH} "Laissé tel quel : $Link est une jonction ou un lien ; rien n'a donc été modifié dans $Folder."
LangString LeftNamed ${LANG_FRENCH} "Laissé tel quel : $Folder est l'endroit désigné par les paramètres propres de l'utilisateur, et non $Own dans le profil que Windows tient pour lui ; rien n'y a donc été modifié."
LangString LeftFile ${LANG_FRENCH} "Laissé tel quel : $File n'appartient pas à ${PRODUCT} (ses informations de version ne mentionnent pas ${PRODUCT} et ${PUBLISHER})."
LangString LeftShortcut ${LANG_FRENCH} "Laissé tel quel : $File n'appartient pas à ${PRODUCT} (il ne pointe pas vers le quillmere.scr de ${PRODUCT} dans ce dossier)."
