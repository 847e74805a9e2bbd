<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>al servidor del editor le falta un archivo de esta versión; inténtelo de nuevo más tarde</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>el servidor del editor no entregó un archivo de esta versión; inténtelo de nuevo más tarde</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>no se pudo conectar con el servidor de actualizaciones; compruebe la conexión a Internet</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>la descarga estuvo detenida durante %1 s; compruebe la conexión a Internet e inténtelo de nuevo</numerusform>
            <numerusform>la descarga estuvo detenida durante %1 s; compruebe la conexión a Internet e inténtelo de nuevo</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>un archivo descargado se dañó por el camino; inténtelo de nuevo más tarde</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>el servidor de actualizaciones no pudo demostrar que pertenece al editor; compruebe la fecha y la hora del equipo o inténtelo de nuevo más tarde</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>el servidor proxy entre este equipo e Internet no dejó pasar la descarga; compruebe la configuración del proxy</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>el servidor del editor envió la descarga a una dirección que no se puede usar; inténtelo de nuevo más tarde</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>no hay suficiente espacio libre en el disco: se necesita %n MB más; libere espacio e inténtelo de nuevo</numerusform>
            <numerusform>no hay suficiente espacio libre en el disco: se necesitan %n MB más; libere espacio e inténtelo de nuevo</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>no hay suficiente espacio libre en el disco; libere espacio e inténtelo de nuevo</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>el actualizador no puede escribir en la carpeta de Brenvoth; compruebe que se puede escribir en ella e inténtelo de nuevo</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>no se puede escribir un archivo de Brenvoth, %1: compruebe que se puede escribir en la carpeta de Brenvoth e inténtelo de nuevo</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>un archivo de Brenvoth, %1, está en uso por Brenvoth: cierre Brenvoth e inténtelo de nuevo</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>un archivo de Brenvoth, %1, está en uso por otro programa; inténtelo de nuevo dentro de un minuto</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>un archivo de Brenvoth, %1, está en uso por %2; inténtelo de nuevo cuando %2 termine con él</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>hay una carpeta donde debe ir el archivo %1 de Brenvoth; muévala a otro lugar e inténtelo de nuevo</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>la descripción de esta versión es defectuosa, por lo que no se puede instalar; el editor tiene que corregirla</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>no se pudo verificar que la actualización procede del editor y no se ha instalado</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>la versión ofrecida %1 es anterior a la instalada y no se ha instalado</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>no se pudo obtener un archivo de esta versión; inténtelo de nuevo más tarde</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 es de solo lectura o solo un administrador puede modificarlo, así que no se ha descargado nada; permita la escritura o pida a un administrador que ejecute la actualización, e inténtelo de nuevo</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>la carpeta de Brenvoth</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>%1 en la carpeta de Brenvoth</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>el servidor de actualizaciones, o su espejo, no está al día (su lista de versiones caducó el %1); no es culpa suya, y la actualización se ofrecerá de nuevo cuando el servidor esté al día</translation>
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
        <translation>Nombre de usuario:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Contraseña:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Iniciar sesión</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Inicio de sesión en el proxy</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nombre de usuario</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Contraseña</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>Solo se usa para esta actualización y no se guarda en ningún sitio</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>Inicia sesión en el proxy y continúa la actualización</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>Detiene la actualización sin iniciar sesión</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>El proxy %1 pide un nombre de usuario y una contraseña.</translation>
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
        <translation>Esperando a %1, que está usando otro programa…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>Esperando a %1, que está usando %2…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Esperando a que se cierre Brenvoth…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; No se ha cambiado nada.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). No se ha cambiado nada.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;No se pudo instalar la actualización:&lt;/b&gt; %1 (%2), y todavía no se han podido restaurar todos los archivos. Esto se completará la próxima vez que se inicie el actualizador.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;No se pudo instalar la actualización:&lt;/b&gt; %1 (%2). No se ha cambiado nada; la actualización se volverá a ofrecer la próxima vez.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Ya se está ejecutando una actualización de Brenvoth.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>Nueva versión: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>Descarga e instala la nueva versión</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>Descarga e instala la nueva versión; Windows pide la aprobación de un administrador</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>Detiene la actualización y cierra el actualizador</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Inicia Brenvoth y cierra el actualizador</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>Cierra el actualizador sin actualizar</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Actualización de Brenvoth</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>¡No hay información de la versión!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Actualización de Brenvoth</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Notas de la versión</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Progreso de la descarga</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 no se inició en este PC, por lo que no se vuelve a instalar. Se conserva Brenvoth %2, la versión instalada.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 no se inició en este PC&lt;/b&gt; (%2). Se restauró Brenvoth %3 y se volvió a iniciar.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 no se inició en este PC&lt;/b&gt; (%2) y no se pudo restaurar Brenvoth %3 (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>Las actualizaciones las gestiona su administrador</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>Las actualizaciones de Brenvoth en este equipo las gestiona su administrador, que las ha desactivado. No se descarga ni se cambia nada.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>Mantenido en %1 por su administrador.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>Mantenido en %1 por su administrador, que devuelve Brenvoth a %2.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>Mantenido en %1 por su administrador: la versión instalada se queda.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>Mantenido en %1 por su administrador, pero el servidor de actualizaciones no ofrece esa versión: la versión instalada se queda.</translation>
    </message>
</context>
</TS>
