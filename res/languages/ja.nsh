; The installer's and the uninstaller's own texts in Japanese; NSIS's own language file gives
; its standard pages.

; The page that asks for whom, and the last page's boxes.
LangString InstallModeTop ${LANG_JAPANESE} "Quillmere をこのコンピューターのすべてのユーザー用 (管理者権限が必要) にインストールするか、自分専用にインストールするかを選んでください。自分専用の場合、[スクリーン セーバーの設定] の一覧には表示されません (Windows が一覧に表示するのは、自身のフォルダーにあるスクリーン セーバーだけです) が、最後のページでスクリーン セーバーに設定すると動作します。"
LangString InstallJustForMe ${LANG_JAPANESE} "自分専用にインストール (設定の一覧には表示されません)"
LangString MakeItMyScreensaver ${LANG_JAPANESE} "Quillmere をスクリーン セーバーにする"
LangString OpenScreenSaverSettings ${LANG_JAPANESE} "[スクリーン セーバーの設定] を開く"

; Boxes, after which the installer or the uninstaller ends with exit code 5.
LangString NeedAdminToUpdate ${LANG_JAPANESE} "Quillmere はこのコンピューターのすべてのユーザー用にインストールされています。更新するには管理者権限が必要です。"
LangString NeedAdminToInstall ${LANG_JAPANESE} "Quillmere をこのコンピューターのすべてのユーザー用にインストールするには、管理者権限が必要です。"
LangString NeedAdminToUninstall ${LANG_JAPANESE} "Quillmere はこのコンピューターのすべてのユーザー用にインストールされています。アンインストールするには管理者権限が必要です。"
LangString UninstallAsThatUser ${LANG_JAPANESE} "この Quillmere は 1 人のユーザー専用にインストールされています。別のアカウントではなく、そのユーザーとしてサインインしてアンインストールしてください。"

; Lines of the details; the first three in a box too, unless silent.
LangString OtherAccountKeptYours ${LANG_JAPANESE} "Quillmere は、このセッションにサインインしているアカウントとは別のアカウントでインストールされました。サインインしているユーザーが自分専用にインストールしていた場合、そのインストールは残ります。[アプリ] からアンインストールしてください。"
LangString OtherAccountRemovedMachine ${LANG_JAPANESE} "すべてのユーザー用の Quillmere は、このセッションにサインインしているアカウントとは別のアカウントで削除されました。サインインしているユーザーのスクリーン セーバーだった場合は、[スクリーン セーバーの設定] で別のものを選んでください。"
LangString OtherAccountUninstalled ${LANG_JAPANESE} "Quillmere は、このセッションにサインインしているアカウントとは別のアカウントで削除されたため、サインインしているユーザーのスクリーン セーバーと Quillmere の設定はそのままです。Quillmere がそのユーザーのスクリーン セーバーだった場合は、[スクリーン セーバーの設定] で別のものを選んでください。"
LangString NotInstalledElevated ${LANG_JAPANESE} "Quillmere はインストールされませんでした。自分専用にインストールするには、管理者権限なしでインストーラーをもう一度実行してください。"
LangString LeftEntry ${LANG_JAPANESE} "変更しませんでした: 自分専用の Quillmere のエントリが示すのは $Own ではなく $Folder です。"
LangString LeftLink ${LANG_JAPANESE} "変更しませんでした: $Link はジャンクションまたはリンクのため、$Folder 内は何も変更していません。"
LangString LeftNamed ${LANG_JAPANESE} "変更しませんでした: $Folder はユーザー自身の設定が指す場所で、Windows がそのユーザーのために管理するプロファイル内の $Own ではないため、その中は何も変更していません。"
LangString LeftFile ${LANG_JAPANESE} "変更しませんでした: $File は ${PRODUCT} のものではありません (バージョン情報に ${PRODUCT} と ${PUBLISHER} の記載がありません)。"
LangString LeftShortcut ${LANG_JAPANESE} "変更しませんでした: $File は ${PRODUCT} のものではありません (そのフォルダーにある ${PRODUCT} 自身の quillmere.scr を指していません)。"
