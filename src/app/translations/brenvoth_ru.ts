<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>на сервере издателя нет одного из файлов этого выпуска; повторите попытку позже</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>сервер издателя не выдал один из файлов этого выпуска; повторите попытку позже</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>не удалось связаться с сервером обновлений; проверьте подключение к интернету</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>загрузка простаивала %1 секунду; проверьте подключение к интернету и повторите попытку</numerusform>
            <numerusform>загрузка простаивала %1 секунды; проверьте подключение к интернету и повторите попытку</numerusform>
            <numerusform>загрузка простаивала %1 секунд; проверьте подключение к интернету и повторите попытку</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>загруженный файл был повреждён при передаче; повторите попытку позже</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>сервер обновлений не смог подтвердить, что принадлежит издателю; проверьте дату и время на компьютере или повторите попытку позже</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>прокси-сервер между этим компьютером и интернетом не пропустил загрузку; проверьте настройки прокси</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>сервер издателя перенаправил загрузку на адрес, который нельзя использовать; повторите попытку позже</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>на диске недостаточно свободного места: нужно ещё %n МБ; освободите место и повторите попытку</numerusform>
            <numerusform>на диске недостаточно свободного места: нужно ещё %n МБ; освободите место и повторите попытку</numerusform>
            <numerusform>на диске недостаточно свободного места: нужно ещё %n МБ; освободите место и повторите попытку</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>на диске недостаточно свободного места; освободите место и повторите попытку</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>программе обновления запрещена запись в папку Brenvoth; проверьте, разрешена ли запись в неё, и повторите попытку</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>файл Brenvoth %1 нельзя записать: проверьте, разрешена ли запись в папку Brenvoth, и повторите попытку</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>файл Brenvoth %1 используется программой Brenvoth: закройте Brenvoth и повторите попытку</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>файл Brenvoth %1 используется другой программой; повторите попытку через минуту</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>файл Brenvoth %1 используется программой %2; повторите попытку, когда %2 закончит с ним работу</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>на месте файла Brenvoth %1 находится папка; переместите её и повторите попытку</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>описание этого выпуска содержит ошибки, поэтому его нельзя установить; издатель должен его исправить</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>не удалось подтвердить, что обновление получено от издателя, поэтому оно не установлено</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>предлагаемый выпуск %1 более ранний, чем установленный, поэтому он не установлен</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>не удалось получить один из файлов этого выпуска; повторите попытку позже</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1: доступ только для чтения или изменения разрешены только администратору, поэтому ничего не загружено; разрешите запись или попросите администратора запустить обновление и повторите попытку</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>папка Brenvoth</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>%1 в папке Brenvoth</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>сервер обновлений или его зеркало устарели (их список версий истёк %1); это не ваша вина, и обновление будет предложено снова, когда сервер обновят</translation>
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
        <translation>Имя пользователя:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Пароль:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Войти</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Вход на прокси-сервер</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Имя пользователя</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>Используется только для этого обновления и нигде не сохраняется</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>Выполняет вход на прокси-сервер и продолжает обновление</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>Останавливает обновление без входа</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>Прокси-сервер %1 запрашивает имя пользователя и пароль.</translation>
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
        <translation>Ожидание %1: файл использует другая программа…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>Ожидание %1: файл использует %2…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Ожидание закрытия Brenvoth…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; Ничего не изменено.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). Ничего не изменено.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;Не удалось установить обновление:&lt;/b&gt; %1 (%2), и пока не все файлы удалось восстановить. Это будет завершено при следующем запуске программы обновления.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;Не удалось установить обновление:&lt;/b&gt; %1 (%2). Ничего не изменено; обновление будет предложено снова в следующий раз.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Обновление Brenvoth уже выполняется.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>Новая версия: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Обновить</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>Загружает и устанавливает новую версию</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>Загружает и устанавливает новую версию; Windows запросит разрешение администратора</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>Останавливает обновление и закрывает программу обновления</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Запускает Brenvoth и закрывает программу обновления</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>Закрывает программу обновления без обновления</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Обновление Brenvoth</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>Нет сведений о версии!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Обновление Brenvoth</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Примечания к выпуску</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Ход загрузки</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 не запустился на этом компьютере, поэтому повторно не устанавливается. Установленный Brenvoth %2 сохранён.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 не запустился на этом компьютере&lt;/b&gt; (%2). Brenvoth %3 восстановлен и запущен снова.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 не запустился на этом компьютере&lt;/b&gt; (%2), и восстановить Brenvoth %3 не удалось (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>Обновлениями управляет ваш администратор</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>Обновлениями Brenvoth на этом компьютере управляет ваш администратор, который их отключил. Ничего не загружается и ничего не меняется.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>Удерживается на %1 вашим администратором.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>Удерживается на %1 вашим администратором, который возвращает Brenvoth к %2.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>Удерживается на %1 вашим администратором: установленная версия остаётся.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>Удерживается на %1 вашим администратором, но сервер обновлений не предлагает такой версии: установленная версия остаётся.</translation>
    </message>
</context>
</TS>
