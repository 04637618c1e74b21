; The installer's and the uninstaller's own texts in Simplified Chinese; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_SIMPCHINESE} "为此计算机上的所有用户安装 Quillmere（需要管理员权限），或者仅为你安装。仅为你安装时，它不会出现在“屏幕保护程序设置”列表中（Windows 只列出其自身文件夹中的屏幕保护程序），但在最后一页将其设为你的屏幕保护程序后即可运行。"
LangString InstallJustForMe ${LANG_SIMPCHINESE} "仅为我安装（不在“屏幕保护程序设置”中列出）"
LangString MakeItMyScreensaver ${LANG_SIMPCHINESE} "将 Quillmere 设为我的屏幕保护程序"
LangString OpenScreenSaverSettings ${LANG_SIMPCHINESE} "打开“屏幕保护程序设置”"

; Boxes, after which the installer or the uninstaller ends with exit code 5.
LangString NeedAdminToUpdate ${LANG_SIMPCHINESE} "Quillmere 已为此计算机上的所有用户安装：更新它需要管理员权限。"
LangString NeedAdminToInstall ${LANG_SIMPCHINESE} "为此计算机上的所有用户安装 Quillmere 需要管理员权限。"
LangString NeedAdminToUninstall ${LANG_SIMPCHINESE} "Quillmere 已为此计算机上的所有用户安装：卸载它需要管理员权限。"
LangString UninstallAsThatUser ${LANG_SIMPCHINESE} "此 Quillmere 仅为一位用户安装：请以该用户身份登录后卸载，而不是使用其他帐户。"

; Lines of the details; the first three in a box too, unless silent.
LangString OtherAccountKeptYours ${LANG_SIMPCHINESE} "Quillmere 是用另一个帐户安装的，而不是当前登录此会话的帐户。如果当前登录的用户曾仅为自己安装过它，那份安装会保留：请在“应用”中将其卸载。"
LangString OtherAccountRemovedMachine ${LANG_SIMPCHINESE} "为所有用户安装的 Quillmere 已被另一个帐户删除，而不是当前登录此会话的帐户。如果它是当前登录用户的屏幕保护程序，请在“屏幕保护程序设置”中另选一个。"
LangString OtherAccountUninstalled ${LANG_SIMPCHINESE} "Quillmere 是用另一个帐户删除的，而不是当前登录此会话的帐户，因此当前登录用户的屏幕保护程序及其 Quillmere 设置保持不变。如果 Quillmere 是其屏幕保护程序，请在“屏幕保护程序设置”中另选一个。"
LangString NotInstalledElevated ${LANG_SIMPCHINESE} "Quillmere 未安装：若要仅为你安装，请不使用管理员权限重新运行安装程序。"
LangString LeftEntry ${LANG_SIMPCHINESE} "未做更改：仅为你安装的 Quillmere 的条目指向 $Folder，而不是 $Own。"
LangString LeftLink ${LANG_SIMPCHINESE} "未做更改：$Link 是联接或链接，因此 $Folder 中的内容均未更改。"
LangString LeftNamed ${LANG_SIMPCHINESE} "未做更改：$Folder 是用户自己的设置所指向的位置，而不是 Windows 为其保留的配置文件中的 $Own，因此其中的内容均未更改。"
LangString LeftFile ${LANG_SIMPCHINESE} "未做更改：$File 不属于 ${PRODUCT}（其版本信息中没有 ${PRODUCT} 和 ${PUBLISHER}）。"
LangString LeftShortcut ${LANG_SIMPCHINESE} "未做更改：$File 不属于 ${PRODUCT}（它没有指向该文件夹中 ${PRODUCT} 自己的 quillmere.scr）。"
