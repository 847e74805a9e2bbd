<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>na serwerze wydawcy brakuje pliku tego wydania; spróbuj ponownie później</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>serwer wydawcy nie udostępnił pliku tego wydania; spróbuj ponownie później</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>nie można połączyć się z serwerem aktualizacji; sprawdź połączenie z internetem</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>pobieranie stało w miejscu przez %1 sekundę; sprawdź połączenie z internetem i spróbuj ponownie</numerusform>
            <numerusform>pobieranie stało w miejscu przez %1 sekundy; sprawdź połączenie z internetem i spróbuj ponownie</numerusform>
            <numerusform>pobieranie stało w miejscu przez %1 sekund; sprawdź połączenie z internetem i spróbuj ponownie</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>pobrany plik został uszkodzony po drodze; spróbuj ponownie później</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>serwer aktualizacji nie mógł udowodnić, że należy do wydawcy; sprawdź datę i godzinę na komputerze albo spróbuj ponownie później</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>serwer proxy między tym komputerem a internetem nie przepuścił pobierania; sprawdź ustawienia proxy</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>serwer wydawcy przekierował pobieranie na adres, którego nie wolno używać; spróbuj ponownie później</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>na dysku jest za mało wolnego miejsca: potrzeba jeszcze %n MB; zwolnij miejsce i spróbuj ponownie</numerusform>
            <numerusform>na dysku jest za mało wolnego miejsca: potrzeba jeszcze %n MB; zwolnij miejsce i spróbuj ponownie</numerusform>
            <numerusform>na dysku jest za mało wolnego miejsca: potrzeba jeszcze %n MB; zwolnij miejsce i spróbuj ponownie</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>na dysku jest za mało wolnego miejsca; zwolnij miejsce i spróbuj ponownie</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>aktualizator nie może zapisywać w folderze programu Brenvoth; sprawdź, czy zapis jest dozwolony, i spróbuj ponownie</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>nie można zapisać pliku programu Brenvoth %1: sprawdź, czy zapis w folderze programu Brenvoth jest dozwolony, i spróbuj ponownie</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>plik programu Brenvoth %1 jest używany przez program Brenvoth: zamknij Brenvoth i spróbuj ponownie</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>plik programu Brenvoth %1 jest używany przez inny program; spróbuj ponownie za minutę</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>plik programu Brenvoth %1 jest używany przez %2; spróbuj ponownie, gdy %2 przestanie go używać</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>w miejscu pliku %1 programu Brenvoth znajduje się folder; przenieś go gdzie indziej i spróbuj ponownie</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>opis tego wydania jest błędny, więc nie można go zainstalować; wydawca musi go poprawić</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>nie można potwierdzić, że aktualizacja pochodzi od wydawcy, więc nie została zainstalowana</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>oferowane wydanie %1 jest starsze niż zainstalowane i nie zostało zainstalowane</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>nie można pobrać pliku tego wydania; spróbuj ponownie później</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1: tylko do odczytu lub zmieniać może tylko administrator, więc niczego nie pobrano; zezwól na zapis albo poproś administratora o uruchomienie aktualizacji i spróbuj ponownie</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>folder programu Brenvoth</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>%1 w folderze programu Brenvoth</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>serwer aktualizacji lub jego serwer lustrzany jest nieaktualny (jego lista wersji wygasła %1); to nie Twoja wina, a aktualizacja zostanie zaproponowana ponownie, gdy serwer zostanie zaktualizowany</translation>
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
        <translation>Nazwa użytkownika:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Hasło:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Zaloguj</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Logowanie do serwera proxy</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nazwa użytkownika</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Hasło</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>Używane tylko do tej aktualizacji i nigdzie niezapisywane</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>Loguje do serwera proxy i kontynuuje aktualizację</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>Przerywa aktualizację bez logowania</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>Serwer proxy %1 wymaga nazwy użytkownika i hasła.</translation>
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
        <translation>Oczekiwanie na %1, którego używa inny program…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>Oczekiwanie na %1, którego używa %2…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Oczekiwanie na zamknięcie programu Brenvoth…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; Niczego nie zmieniono.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). Niczego nie zmieniono.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;Nie można zainstalować aktualizacji:&lt;/b&gt; %1 (%2), a nie wszystkie pliki udało się jeszcze przywrócić. Zostanie to dokończone przy następnym uruchomieniu aktualizatora.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;Nie można zainstalować aktualizacji:&lt;/b&gt; %1 (%2). Niczego nie zmieniono; aktualizacja zostanie zaproponowana ponownie następnym razem.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Aktualizacja programu Brenvoth jest już w toku.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>Nowa wersja: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualizuj</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>Pobiera i instaluje nową wersję</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>Pobiera i instaluje nową wersję; system Windows poprosi o zgodę administratora</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>Przerywa aktualizację i zamyka aktualizator</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Uruchamia program Brenvoth i zamyka aktualizator</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>Zamyka aktualizator bez aktualizowania</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Aktualizacja programu Brenvoth</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>Brak informacji o wersji!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Aktualizacja programu Brenvoth</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Informacje o wydaniu</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Postęp pobierania</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 nie uruchomił się na tym komputerze, więc nie zostanie ponownie zainstalowany. Zainstalowany Brenvoth %2 pozostaje.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 nie uruchomił się na tym komputerze&lt;/b&gt; (%2). Przywrócono Brenvoth %3 i uruchomiono go ponownie.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 nie uruchomił się na tym komputerze&lt;/b&gt; (%2), a Brenvoth %3 nie dało się przywrócić (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>Aktualizacjami zarządza administrator</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>Aktualizacjami Brenvoth na tym komputerze zarządza administrator, który je wyłączył. Nic nie jest pobierane ani zmieniane.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>Zatrzymano na %1 przez administratora.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>Zatrzymano na %1 przez administratora, który przywraca Brenvoth do %2.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>Zatrzymano na %1 przez administratora: zainstalowana wersja pozostaje.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>Zatrzymano na %1 przez administratora, ale serwer aktualizacji nie oferuje takiej wersji: zainstalowana wersja pozostaje.</translation>
    </message>
</context>
</TS>
