<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>il manque un fichier de cette version sur le serveur de l’éditeur&#xa0;; réessayez plus tard</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>le serveur de l’éditeur n’a pas fourni un fichier de cette version&#xa0;; réessayez plus tard</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>le serveur de mise à jour est injoignable&#xa0;; vérifiez la connexion Internet</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>le téléchargement est resté bloqué pendant %1&#xa0;s&#xa0;; vérifiez la connexion Internet et réessayez</numerusform>
            <numerusform>le téléchargement est resté bloqué pendant %1&#xa0;s&#xa0;; vérifiez la connexion Internet et réessayez</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>un fichier téléchargé a été endommagé en cours de route&#xa0;; réessayez plus tard</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>le serveur de mise à jour n’a pas pu prouver qu’il appartient à l’éditeur&#xa0;; vérifiez la date et l’heure de l’ordinateur, ou réessayez plus tard</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>le serveur proxy entre cet ordinateur et Internet n’a pas laissé passer le téléchargement&#xa0;; vérifiez les paramètres du proxy</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>le serveur de l’éditeur a redirigé le téléchargement vers une adresse qui ne peut pas être utilisée&#xa0;; réessayez plus tard</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>l’espace libre sur le disque est insuffisant&#xa0;: il manque encore %n&#xa0;Mo&#xa0;; libérez de l’espace et réessayez</numerusform>
            <numerusform>l’espace libre sur le disque est insuffisant&#xa0;: il manque encore %n&#xa0;Mo&#xa0;; libérez de l’espace et réessayez</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>l’espace libre sur le disque est insuffisant&#xa0;; libérez de l’espace et réessayez</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>le programme de mise à jour ne peut pas écrire dans le dossier de Brenvoth&#xa0;; vérifiez que ce dossier est accessible en écriture et réessayez</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>un fichier de Brenvoth, %1, ne peut pas être écrit&#xa0;: vérifiez que le dossier de Brenvoth est accessible en écriture et réessayez</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>un fichier de Brenvoth, %1, est utilisé par Brenvoth&#xa0;: fermez Brenvoth et réessayez</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>un fichier de Brenvoth, %1, est utilisé par un autre programme&#xa0;; réessayez dans une minute</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>un fichier de Brenvoth, %1, est utilisé par %2&#xa0;; réessayez quand %2 n’en aura plus besoin</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>un dossier se trouve à l’emplacement du fichier %1 de Brenvoth&#xa0;; déplacez-le et réessayez</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>la description de cette version est défectueuse, elle ne peut donc pas être installée&#xa0;; l’éditeur doit la corriger</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>la provenance de la mise à jour n’a pas pu être vérifiée auprès de l’éditeur et elle n’a pas été installée</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>la version proposée %1 est plus ancienne que celle qui est installée et n’a pas été installée</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>un fichier de cette version n’a pas pu être récupéré&#xa0;; réessayez plus tard</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 est en lecture seule ou ne peut être modifié que par un administrateur, rien n’a donc été téléchargé&#xa0;; autorisez l’écriture, ou faites lancer la mise à jour par un administrateur, puis réessayez</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>le dossier de Brenvoth</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>%1 dans le dossier de Brenvoth</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>le serveur de mise à jour, ou son miroir, n’est plus à jour (sa liste des versions a expiré le %1) ; ce n’est pas de votre faute, et la mise à jour sera proposée à nouveau dès que le serveur sera à jour</translation>
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
        <translation>Nom d’utilisateur :</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Mot de passe :</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Se connecter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Connexion au proxy</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nom d’utilisateur</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Mot de passe</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>Utilisé pour cette mise à jour seulement et enregistré nulle part</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>Se connecte au proxy et poursuit la mise à jour</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>Arrête la mise à jour sans se connecter</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>Le proxy %1 demande un nom d’utilisateur et un mot de passe.</translation>
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
        <translation>En attente de %1, utilisé par un autre programme…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>En attente de %1, utilisé par %2…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>En attente de la fermeture de Brenvoth…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; Rien n’a été modifié.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). Rien n’a été modifié.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;La mise à jour n’a pas pu être installée&#xa0;:&lt;/b&gt; %1 (%2), et certains fichiers n’ont pas encore pu être restaurés. Ce sera terminé au prochain démarrage du programme de mise à jour.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;La mise à jour n’a pas pu être installée&#xa0;:&lt;/b&gt; %1 (%2). Rien n’a été modifié&#xa0;; la mise à jour sera de nouveau proposée la prochaine fois.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Une mise à jour de Brenvoth est déjà en cours.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>Nouvelle version&#xa0;: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Mettre à jour</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>Télécharge et installe la nouvelle version</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>Télécharge et installe la nouvelle version ; Windows demande l’accord d’un administrateur</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>Arrête la mise à jour et ferme le programme de mise à jour</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Démarre Brenvoth et ferme le programme de mise à jour</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>Ferme le programme de mise à jour sans mettre à jour</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Mise à jour de Brenvoth</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>Aucune information sur la version&#xa0;!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Mise à jour de Brenvoth</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Notes de version</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Progression du téléchargement</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 n’a pas démarré sur ce PC ; il n’est donc pas réinstallé. La version installée, Brenvoth %2, est conservée.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 n’a pas démarré sur ce PC&lt;/b&gt; (%2). Brenvoth %3 a été rétabli et redémarré.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 n’a pas démarré sur ce PC&lt;/b&gt; (%2), et Brenvoth %3 n’a pas pu être rétabli (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>Les mises à jour sont gérées par votre administrateur</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>Les mises à jour de Brenvoth sur cet ordinateur sont gérées par votre administrateur, qui les a désactivées. Rien n’est téléchargé et rien n’est modifié.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>Maintenu à %1 par votre administrateur.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>Maintenu à %1 par votre administrateur, qui ramène Brenvoth à %2.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>Maintenu à %1 par votre administrateur : la version installée reste.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>Maintenu à %1 par votre administrateur, mais le serveur de mise à jour ne propose pas cette version : la version installée reste.</translation>
    </message>
</context>
</TS>
