<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>게시자의 서버에 이 릴리스의 파일이 없습니다. 나중에 다시 시도하세요</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>게시자의 서버가 이 릴리스의 파일을 보내지 않았습니다. 나중에 다시 시도하세요</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>업데이트 서버에 연결할 수 없습니다. 인터넷 연결을 확인하세요</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>다운로드가 %1초 동안 멈췄습니다. 인터넷 연결을 확인하고 다시 시도하세요</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>다운로드한 파일이 전송 중에 손상되었습니다. 나중에 다시 시도하세요</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>업데이트 서버가 게시자의 서버임을 증명하지 못했습니다. 컴퓨터의 날짜와 시간을 확인하거나 나중에 다시 시도하세요</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>이 컴퓨터와 인터넷 사이의 프록시 서버가 다운로드를 허용하지 않았습니다. 프록시 설정을 확인하세요</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>게시자의 서버가 사용할 수 없는 주소로 다운로드를 보냈습니다. 나중에 다시 시도하세요</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>디스크 여유 공간이 부족합니다. %n MB가 더 필요합니다. 공간을 확보한 후 다시 시도하세요</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>디스크 여유 공간이 부족합니다. 공간을 확보한 후 다시 시도하세요</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>업데이트 프로그램이 Brenvoth 폴더에 쓸 수 없습니다. 폴더에 쓸 수 있는지 확인하고 다시 시도하세요</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>Brenvoth 파일 %1에 쓸 수 없습니다. Brenvoth 폴더에 쓸 수 있는지 확인하고 다시 시도하세요</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>Brenvoth 파일 %1을(를) Brenvoth에서 사용 중입니다. Brenvoth를 닫고 다시 시도하세요</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>Brenvoth 파일 %1을(를) 다른 프로그램에서 사용 중입니다. 1분 후에 다시 시도하세요</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>Brenvoth 파일 %1을(를) %2에서 사용 중입니다. %2의 사용이 끝나면 다시 시도하세요</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>Brenvoth 파일 %1이(가) 있어야 할 위치에 폴더가 있습니다. 폴더를 다른 곳으로 옮기고 다시 시도하세요</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>이 릴리스의 설명에 오류가 있어 설치할 수 없습니다. 게시자가 수정해야 합니다</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>업데이트가 게시자에게서 온 것인지 확인할 수 없어 설치하지 않았습니다</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>제공된 릴리스 %1이(가) 설치된 릴리스보다 오래되어 설치하지 않았습니다</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>이 릴리스의 파일을 가져올 수 없습니다. 나중에 다시 시도하세요</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1은(는) 읽기 전용이거나 관리자만 변경할 수 있어 아무것도 다운로드하지 않았습니다. 쓰기 가능하게 하거나 관리자에게 업데이트 실행을 요청한 후 다시 시도하세요</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>Brenvoth 폴더</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>Brenvoth 폴더의 %1</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>업데이트 서버 또는 그 미러가 오래되었습니다(릴리스 목록이 %1에 만료됨). 사용자의 잘못이 아니며, 서버가 최신으로 바뀌면 업데이트가 다시 제공됩니다</translation>
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
        <translation>사용자 이름:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>암호:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>로그인</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>프록시 로그인</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>사용자 이름</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>암호</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>이번 업데이트에만 사용되며 어디에도 저장되지 않습니다</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>프록시에 로그인하고 업데이트를 계속합니다</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>로그인하지 않고 업데이트를 중단합니다</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>프록시 %1에서 사용자 이름과 암호를 요구합니다.</translation>
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
        <translation>다른 프로그램이 사용 중인 %1을(를) 기다리는 중…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>%2에서 사용 중인 %1을(를) 기다리는 중…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Brenvoth가 닫히기를 기다리는 중…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; 아무것도 변경되지 않았습니다.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). 아무것도 변경되지 않았습니다.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;업데이트를 설치하지 못했습니다:&lt;/b&gt; %1 (%2). 또한 아직 모든 파일을 되돌리지 못했습니다. 업데이트 프로그램을 다시 시작하면 마무리됩니다.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;업데이트를 설치하지 못했습니다:&lt;/b&gt; %1 (%2). 아무것도 변경되지 않았으며, 다음에 이 업데이트가 다시 제공됩니다.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Brenvoth 업데이트가 이미 실행 중입니다.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>새 버전: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>업데이트</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>새 버전을 다운로드하여 설치합니다</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>새 버전을 다운로드하여 설치합니다. Windows에서 관리자의 승인을 요청합니다</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>취소</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>업데이트를 중지하고 업데이트 프로그램을 닫습니다</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>확인</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Brenvoth를 시작하고 업데이트 프로그램을 닫습니다</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>업데이트하지 않고 업데이트 프로그램을 닫습니다</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Brenvoth 업데이트</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>버전 정보가 없습니다!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Brenvoth 업데이트</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>릴리스 정보</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>다운로드 진행률</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1이(가) 이 PC에서 시작되지 않아 다시 설치하지 않습니다. 설치된 Brenvoth %2을(를) 그대로 유지합니다.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1이(가) 이 PC에서 시작되지 않았습니다&lt;/b&gt; (%2). Brenvoth %3을(를) 복원하여 다시 시작했습니다.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1이(가) 이 PC에서 시작되지 않았습니다&lt;/b&gt; (%2). Brenvoth %3을(를) 복원하지 못했습니다 (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>업데이트는 관리자가 관리합니다</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>이 컴퓨터의 Brenvoth 업데이트는 관리자가 관리하며, 관리자가 업데이트를 껐습니다. 아무것도 다운로드하거나 변경하지 않습니다.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>관리자가 %1에 고정했습니다.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>관리자가 %1에 고정했으며, Brenvoth를 %2(으)로 되돌립니다.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>관리자가 %1에 고정했습니다. 설치된 버전이 유지됩니다.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>관리자가 %1에 고정했지만 업데이트 서버에 해당 버전이 없습니다. 설치된 버전이 유지됩니다.</translation>
    </message>
</context>
</TS>
