<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>發行者的伺服器缺少此版本的一個檔案；請稍後再試</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>發行者的伺服器未提供此版本的一個檔案；請稍後再試</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>無法連線到更新伺服器；請檢查網路連線</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>下載已停滯 %1 秒；請檢查網路連線後再試一次</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>下載的檔案在傳輸途中損毀；請稍後再試</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>更新伺服器無法證明它屬於發行者；請檢查電腦的日期和時間，或稍後再試</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>這台電腦與網際網路之間的 Proxy 伺服器沒有放行下載；請檢查 Proxy 設定</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>發行者的伺服器將下載導向不可使用的位址；請稍後再試</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>磁碟空間不足：還需要 %n MB；請釋放一些空間後再試一次</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>磁碟空間不足；請釋放一些空間後再試一次</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>更新程式無法寫入 Brenvoth 的資料夾；請確認該資料夾可寫入後再試一次</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>無法寫入 Brenvoth 的檔案 %1：請確認 Brenvoth 的資料夾可寫入後再試一次</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>Brenvoth 的檔案 %1 正由 Brenvoth 使用中：請關閉 Brenvoth 後再試一次</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>Brenvoth 的檔案 %1 正由其他程式使用中；請過一分鐘再試</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>Brenvoth 的檔案 %1 正由 %2 使用中；請等 %2 用完後再試一次</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>Brenvoth 的檔案 %1 應在的位置上有一個資料夾；請將它移走後再試一次</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>此版本的描述有誤，因此無法安裝；需要由發行者更正</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>無法驗證此更新來自發行者，因此未安裝</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>提供的版本 %1 比已安裝的版本舊，因此未安裝</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>無法取得此版本的一個檔案；請稍後再試</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 為唯讀或只能由系統管理員變更，因此未下載任何內容；請將它設為可寫入，或請系統管理員執行更新，然後再試一次</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>Brenvoth 的資料夾</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>Brenvoth 資料夾中的 %1</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>更新伺服器或其鏡像已過時（其版本清單已於 %1 到期）；這不是您的問題，伺服器更新後將再次提供此更新</translation>
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
        <translation>使用者名稱：</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密碼：</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>登入</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Proxy 伺服器登入</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>使用者名稱</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密碼</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>只用於這次更新，不會儲存在任何地方</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>登入 Proxy 伺服器並繼續更新</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>不登入並停止更新</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>Proxy 伺服器 %1 要求輸入使用者名稱和密碼。</translation>
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
        <translation>正在等待 %1，它正由其他程式使用中…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>正在等待 %1，它正由 %2 使用中…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>正在等待 Brenvoth 關閉…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1。&lt;/b&gt;未做任何變更。</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;（%2）。未做任何變更。</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;無法安裝更新：&lt;/b&gt;%1（%2），而且還有檔案未能復原。下次啟動更新程式時會完成復原。</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;無法安裝更新：&lt;/b&gt;%1（%2）。未做任何變更；下次會再次提供此更新。</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Brenvoth 的更新已在執行中。</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>新版本：</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>下載並安裝新版本</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>下載並安裝新版本；Windows 會要求系統管理員核准</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>停止更新並關閉更新程式</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>啟動 Brenvoth 並關閉更新程式</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>不更新，直接關閉更新程式</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Brenvoth 更新</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>沒有版本資訊！</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Brenvoth 更新</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>版本說明</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>下載進度</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 無法在這台電腦上啟動，因此不會再次安裝。將保留已安裝的 Brenvoth %2。</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 無法在這台電腦上啟動&lt;/b&gt;（%2）。已還原 Brenvoth %3 並重新啟動。</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 無法在這台電腦上啟動&lt;/b&gt;（%2），且無法還原 Brenvoth %3（%4）。</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>更新由您的系統管理員管理</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>此電腦上 Brenvoth 的更新由您的系統管理員管理，系統管理員已將其關閉。不會下載或變更任何內容。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>已由您的系統管理員保持在 %1。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>已由您的系統管理員保持在 %1，Brenvoth 將回復到 %2。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>已由您的系統管理員保持在 %1：保留已安裝的版本。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>已由您的系統管理員保持在 %1，但更新伺服器未提供該版本：保留已安裝的版本。</translation>
    </message>
</context>
</TS>
