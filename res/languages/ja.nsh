; The installer's and the uninstaller's own texts in Japanese; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_JAPANESE} "Quillmere をこのコンピューターのすべてのユーザー用 (管理者権限が必要) にインストールするか、自分専用にインストールするかを選んでください。自分専用の場合、[スクリーン セーバーの設定] の一覧には表示されません (Windows が一覧に表示するのは、自身のフォルダーにあるスクリーン セーバーだけです) が、最後のページでスクリーン セーバーに設定すると動作します。"
LangString InstallJustForMe ${LANG_JAPANESE} "自分専用にインストール (設定の一覧には表示されません)"
LangString MakeItMyScreensaver ${LANG_JAPANESE} "Quillmere をスクリーン セーバーにする"
LangString OpenScreenSaverSettings ${LANG_JAPANESE} "[スクリーン セーバーの設定] を開く"
