; The installer's and the uninstaller's own texts in Simplified Chinese; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_SIMPCHINESE} "为此计算机上的所有用户安装 Quillmere（需要管理员权限），或者仅为你安装。仅为你安装时，它不会出现在“屏幕保护程序设置”列表中（Windows 只列出其自身文件夹中的屏幕保护程序），但在最后一页将其设为你的屏幕保护程序后即可运行。"
LangString InstallJustForMe ${LANG_SIMPCHINESE} "仅为我安装（不在“屏幕保护程序设置”中列出）"
LangString MakeItMyScreensaver ${LANG_SIMPCHINESE} "将 Quillmere 设为我的屏幕保护程序"
LangString OpenScreenSaverSettings ${LANG_SIMPCHINESE} "打开“屏幕保护程序设置”"
