<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>发布者的服务器缺少此版本的一个文件；请稍后重试</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>发布者的服务器未提供此版本的一个文件；请稍后重试</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>无法连接更新服务器；请检查网络连接</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>下载已停滞 %1 秒；请检查网络连接后重试</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>下载的文件在传输途中损坏；请稍后重试</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>更新服务器无法证明它属于发布者；请检查计算机的日期和时间，或稍后重试</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>此计算机与互联网之间的代理服务器没有放行下载；请检查代理设置</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>发布者的服务器把下载转到了不允许使用的地址；请稍后重试</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>磁盘空间不足：还需要 %n MB；请释放一些空间后重试</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>磁盘空间不足；请释放一些空间后重试</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>更新程序无法写入 Brenvoth 的文件夹；请确认该文件夹可写后重试</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>无法写入 Brenvoth 的文件 %1：请确认 Brenvoth 的文件夹可写后重试</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>Brenvoth 的文件 %1 正被 Brenvoth 使用：请关闭 Brenvoth 后重试</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>Brenvoth 的文件 %1 正被其他程序使用；请过一分钟再试</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>Brenvoth 的文件 %1 正被 %2 使用；请等 %2 用完后重试</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>Brenvoth 的文件 %1 应在的位置上有一个文件夹；请将其移走后重试</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>此版本的描述有误，因此无法安装；需要发布者更正</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>无法验证此更新来自发布者，因此未安装</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>提供的版本 %1 比已安装的版本旧，因此未安装</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>无法获取此版本的一个文件；请稍后重试</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 为只读或只能由管理员更改，因此未下载任何内容；请将其设为可写，或请管理员运行更新，然后重试</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>Brenvoth 的文件夹</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>Brenvoth 文件夹中的 %1</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>更新服务器或其镜像已过时（其版本列表已于 %1 过期）；这不是您的问题，服务器更新后将再次提供此更新</translation>
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
        <translation>用户名：</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>密码：</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>代理服务器登录</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>用户名</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>仅用于本次更新，不会保存到任何地方</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>登录代理服务器并继续更新</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>不登录并停止更新</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>代理服务器 %1 要求输入用户名和密码。</translation>
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
        <translation>正在等待 %1，它正被其他程序使用…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>正在等待 %1，它正被 %2 使用…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>正在等待 Brenvoth 关闭…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1。&lt;/b&gt;未做任何更改。</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;（%2）。未做任何更改。</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;无法安装更新：&lt;/b&gt;%1（%2），而且还有文件未能恢复。下次启动更新程序时会完成恢复。</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;无法安装更新：&lt;/b&gt;%1（%2）。未做任何更改；下次会再次提供此更新。</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Brenvoth 的更新已在运行。</translation>
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
        <translation>下载并安装新版本</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>下载并安装新版本；Windows 会请求管理员批准</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>停止更新并关闭更新程序</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>启动 Brenvoth 并关闭更新程序</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>不更新，直接关闭更新程序</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Brenvoth 更新</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>没有版本信息！</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Brenvoth 更新</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>发行说明</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>下载进度</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 无法在此电脑上启动，因此不会再次安装。将保留已安装的 Brenvoth %2。</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 无法在此电脑上启动&lt;/b&gt;（%2）。已恢复 Brenvoth %3 并重新启动。</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 无法在此电脑上启动&lt;/b&gt;（%2），且无法恢复 Brenvoth %3（%4）。</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>更新由您的管理员管理</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>此电脑上 Brenvoth 的更新由您的管理员管理，管理员已将其关闭。不会下载或更改任何内容。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>已由您的管理员保持在 %1。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>已由您的管理员保持在 %1，Brenvoth 将回退到 %2。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>已由您的管理员保持在 %1：保留已安装的版本。</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>已由您的管理员保持在 %1，但更新服务器未提供该版本：保留已安装的版本。</translation>
    </message>
</context>
</TS>
