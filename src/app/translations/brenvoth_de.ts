<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>auf dem Server des Herausgebers fehlt eine Datei dieser Version; versuchen Sie es später erneut</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>der Server des Herausgebers hat eine Datei dieser Version nicht ausgeliefert; versuchen Sie es später erneut</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>der Update-Server ist nicht erreichbar; prüfen Sie die Internetverbindung</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>der Download stand %1 s lang still; prüfen Sie die Internetverbindung und versuchen Sie es erneut</numerusform>
            <numerusform>der Download stand %1 s lang still; prüfen Sie die Internetverbindung und versuchen Sie es erneut</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>eine heruntergeladene Datei wurde unterwegs beschädigt; versuchen Sie es später erneut</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>der Update-Server konnte nicht nachweisen, dass er dem Herausgeber gehört; prüfen Sie Datum und Uhrzeit des Computers oder versuchen Sie es später erneut</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>der Proxyserver zwischen diesem Computer und dem Internet hat den Download nicht durchgelassen; prüfen Sie die Proxy-Einstellungen</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>der Server des Herausgebers hat den Download an eine Adresse umgeleitet, die nicht verwendet werden darf; versuchen Sie es später erneut</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>auf dem Datenträger ist nicht genug Platz frei: es wird noch %n MB benötigt; geben Sie Speicherplatz frei und versuchen Sie es erneut</numerusform>
            <numerusform>auf dem Datenträger ist nicht genug Platz frei: es werden noch %n MB benötigt; geben Sie Speicherplatz frei und versuchen Sie es erneut</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>auf dem Datenträger ist nicht genug Platz frei; geben Sie Speicherplatz frei und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>der Updater darf nicht in den Ordner von Brenvoth schreiben; prüfen Sie, ob der Ordner beschreibbar ist, und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>eine Datei von Brenvoth, %1, darf nicht geschrieben werden: prüfen Sie, ob der Ordner von Brenvoth beschreibbar ist, und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>eine Datei von Brenvoth, %1, wird von Brenvoth verwendet: schließen Sie Brenvoth und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>eine Datei von Brenvoth, %1, wird von einem anderen Programm verwendet; versuchen Sie es in einer Minute erneut</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>eine Datei von Brenvoth, %1, wird von %2 verwendet; versuchen Sie es erneut, sobald %2 sie nicht mehr braucht</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>an der Stelle der Datei %1 von Brenvoth steht ein Ordner; verschieben Sie ihn und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>die Beschreibung dieser Version ist fehlerhaft, daher kann sie nicht installiert werden; der Herausgeber muss sie korrigieren</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>das Update konnte nicht als vom Herausgeber stammend bestätigt werden und wurde nicht installiert</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>die angebotene Version %1 ist älter als die installierte und wurde nicht installiert</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>eine Datei dieser Version konnte nicht abgerufen werden; versuchen Sie es später erneut</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 ist schreibgeschützt oder darf nur von einem Administrator geändert werden, daher wurde nichts heruntergeladen; heben Sie den Schreibschutz auf oder lassen Sie einen Administrator das Update ausführen, und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>der Ordner von Brenvoth</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>%1 im Ordner von Brenvoth</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>der Update-Server oder sein Spiegel ist nicht mehr aktuell (seine Liste der Versionen ist am %1 abgelaufen); das liegt nicht an Ihnen, und das Update wird wieder angeboten, sobald der Server aktualisiert ist</translation>
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
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Anmeldung am Proxy</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>Nur für dieses Update verwendet und nirgends gespeichert</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>Meldet sich am Proxy an und setzt das Update fort</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>Beendet das Update ohne Anmeldung</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>Der Proxy %1 verlangt einen Benutzernamen und ein Passwort.</translation>
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
        <translation>Warte auf %1, das gerade von einem anderen Programm verwendet wird…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>Warte auf %1, das gerade von %2 verwendet wird…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Warte, bis Brenvoth geschlossen ist…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;Das Update konnte nicht installiert werden:&lt;/b&gt; %1 (%2), und noch nicht alle Dateien konnten zurückgesetzt werden. Das wird beim nächsten Start des Updaters abgeschlossen.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;Das Update konnte nicht installiert werden:&lt;/b&gt; %1 (%2). Es wurde nichts geändert; das Update wird beim nächsten Mal wieder angeboten.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Ein Update von Brenvoth läuft bereits.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>Neue Version: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>Lädt die neue Version herunter und installiert sie</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>Lädt die neue Version herunter und installiert sie; Windows fragt nach der Zustimmung eines Administrators</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>Bricht das Update ab und schließt den Updater</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Startet Brenvoth und schließt den Updater</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>Schließt den Updater, ohne zu aktualisieren</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Brenvoth-Update</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>Keine Versionsinformationen vorhanden!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Brenvoth-Update</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Versionshinweise</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Download-Fortschritt</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 ist auf diesem PC nicht gestartet und wird daher nicht erneut installiert. Das installierte Brenvoth %2 bleibt erhalten.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 ist auf diesem PC nicht gestartet&lt;/b&gt; (%2). Brenvoth %3 wurde wiederhergestellt und erneut gestartet.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 ist auf diesem PC nicht gestartet&lt;/b&gt; (%2), und Brenvoth %3 konnte nicht wiederhergestellt werden (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>Updates werden von Ihrem Administrator verwaltet</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>Updates von Brenvoth werden auf diesem Computer von Ihrem Administrator verwaltet, der sie abgeschaltet hat. Es wird nichts heruntergeladen und nichts geändert.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>Von Ihrem Administrator bei %1 gehalten.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>Von Ihrem Administrator bei %1 gehalten; er setzt Brenvoth auf %2 zurück.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>Von Ihrem Administrator bei %1 gehalten: die installierte Version bleibt.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>Von Ihrem Administrator bei %1 gehalten, aber der Update-Server bietet keine solche Version an: die installierte Version bleibt.</translation>
    </message>
</context>
</TS>
