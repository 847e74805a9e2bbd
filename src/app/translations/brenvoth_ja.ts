<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>発行元のサーバーにこのリリースのファイルがありません。しばらくしてからもう一度お試しください</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>発行元のサーバーがこのリリースのファイルを送信しませんでした。しばらくしてからもう一度お試しください</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>更新サーバーに接続できませんでした。インターネット接続を確認してください</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>ダウンロードが %1 秒間止まりました。インターネット接続を確認して、もう一度お試しください</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>ダウンロードしたファイルが途中で破損しました。しばらくしてからもう一度お試しください</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>更新サーバーが発行元のものであることを証明できませんでした。コンピューターの日付と時刻を確認するか、しばらくしてからもう一度お試しください</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>このコンピューターとインターネットの間のプロキシ サーバーがダウンロードを通しませんでした。プロキシの設定を確認してください</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>発行元のサーバーが、使用できないアドレスにダウンロードを転送しました。しばらくしてからもう一度お試しください</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>ディスクの空き容量が足りません。あと %n MB 必要です。空き容量を増やして、もう一度お試しください</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>ディスクの空き容量が足りません。空き容量を増やして、もう一度お試しください</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>更新プログラムは Brenvoth のフォルダーに書き込めません。フォルダーに書き込めることを確認して、もう一度お試しください</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>Brenvoth のファイル %1 に書き込めません。Brenvoth のフォルダーに書き込めることを確認して、もう一度お試しください</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>Brenvoth のファイル %1 は Brenvoth が使用中です。Brenvoth を閉じて、もう一度お試しください</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>Brenvoth のファイル %1 は別のプログラムが使用中です。1 分ほどしてからもう一度お試しください</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>Brenvoth のファイル %1 は %2 が使用中です。%2 の使用が終わってから、もう一度お試しください</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>Brenvoth のファイル %1 があるべき場所にフォルダーがあります。フォルダーを移動して、もう一度お試しください</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>このリリースの記述に誤りがあるため、インストールできません。発行元による修正が必要です</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>この更新が発行元からのものであることを確認できなかったため、インストールしませんでした</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>提供されたリリース %1 はインストール済みのものより古いため、インストールしませんでした</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>このリリースのファイルを取得できませんでした。しばらくしてからもう一度お試しください</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 は読み取り専用か、管理者しか変更できないため、何もダウンロードしませんでした。書き込みできるようにするか、管理者に更新を実行してもらってから、もう一度お試しください</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>Brenvoth のフォルダー</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>Brenvoth のフォルダー内の %1</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>更新サーバーまたはそのミラーが古くなっています (リリース一覧の有効期限が %1 に切れました)。これはあなたのせいではありません。サーバーが更新されると、更新が再び提供されます</translation>
    </message>
</context>
<context>
    <name>HttpDownloadFile</name>
    <message>
        <source>its certificate has expired</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its certificate is not valid yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its certificate was issued for another host name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its certificate has been revoked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its certificate was issued by an authority this computer does not trust</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent another part of the file than was asked for</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s file is %1 bytes long, the manifest says %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is longer than the %1 bytes it may have</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the proxy %1 refused the connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the proxy %1 asks for a user name and password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the proxy %1 failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Network error : %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (through the proxy %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no secure connection could be made with %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server&apos;s identity could not be verified: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server redirected more than %1 times, last to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server redirected to %1, which is not a web address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server redirected to %1, which is not a secure address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No data received for %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Server answered with HTTP status %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is %1 bytes long, the manifest says %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file does not match the SHA-256 digest the manifest gives</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>can not write file %d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SSL handshake failed; %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server replied: %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProxySignOnForm</name>
    <message>
        <source>User name:</source>
        <translation>ユーザー名:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>パスワード:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>サインイン</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>プロキシへのサインイン</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>ユーザー名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>パスワード</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>この更新にのみ使われ、どこにも保存されません</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>プロキシにサインインして更新を続けます</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>サインインせずに更新を中止します</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>プロキシ %1 がユーザー名とパスワードを求めています。</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <comment>Translate this string to the string &apos;LTR&apos; in left-to-right languages or to &apos;RTL&apos; in right-to-left languages (such as Hebrew and Arabic) to get proper widget layout.</comment>
        <translation>LTR</translation>
    </message>
</context>
<context>
    <name>UpdateJob</name>
    <message>
        <source>Waiting for %1, which another program is using…</source>
        <translation>%1 を待っています。別のプログラムが使用中です…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>%1 を待っています。%2 が使用中です…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Brenvoth が閉じるのを待っています…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1。&lt;/b&gt;何も変更されていません。</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;（%2）。何も変更されていません。</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;更新をインストールできませんでした：&lt;/b&gt;%1（%2）。また、まだ元に戻せていないファイルがあります。これは次に更新プログラムを起動したときに完了します。</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;更新をインストールできませんでした：&lt;/b&gt;%1（%2）。何も変更されていません。次回もう一度この更新が表示されます。</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Brenvoth の更新はすでに実行中です。</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>新しいバージョン: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>新しいバージョンをダウンロードしてインストールします</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>新しいバージョンをダウンロードしてインストールします。Windows が管理者の承認を求めます</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>更新を中止して更新プログラムを閉じます</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Brenvoth を起動して更新プログラムを閉じます</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>更新せずに更新プログラムを閉じます</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Brenvoth の更新</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>バージョン情報がありません！</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Brenvoth の更新</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>リリース ノート</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>ダウンロードの進行状況</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 はこの PC で起動しなかったため、再インストールされません。インストール済みの Brenvoth %2 をそのまま使用します。</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 はこの PC で起動しませんでした&lt;/b&gt;（%2）。Brenvoth %3 を元に戻し、もう一度起動しました。</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 はこの PC で起動しませんでした&lt;/b&gt;（%2）。Brenvoth %3 を元に戻せませんでした（%4）。</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>更新は管理者によって管理されています</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>このコンピューターの Brenvoth の更新は管理者によって管理されており、無効にされています。何もダウンロードされず、何も変更されません。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>管理者により %1 に固定されています。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>管理者により %1 に固定されています。Brenvoth は %2 に戻されます。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>管理者により %1 に固定されています。インストール済みのバージョンのままです。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>管理者により %1 に固定されていますが、更新サーバーにそのバージョンがありません。インストール済みのバージョンのままです。</translation>
    </message>
</context>
</TS>
