<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>está faltando um arquivo desta versão no servidor do editor; tente novamente mais tarde</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>o servidor do editor não entregou um arquivo desta versão; tente novamente mais tarde</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>não foi possível acessar o servidor de atualização; verifique a conexão com a internet</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>o download ficou parado por %1 s; verifique a conexão com a internet e tente novamente</numerusform>
            <numerusform>o download ficou parado por %1 s; verifique a conexão com a internet e tente novamente</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>um arquivo baixado foi danificado no caminho; tente novamente mais tarde</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>o servidor de atualização não conseguiu provar que pertence ao editor; verifique a data e a hora do computador ou tente novamente mais tarde</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>o servidor proxy entre este computador e a internet não deixou o download passar; verifique as configurações de proxy</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>o servidor do editor enviou o download para um endereço que não pode ser usado; tente novamente mais tarde</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>não há espaço livre suficiente no disco: falta %n MB; libere espaço e tente novamente</numerusform>
            <numerusform>não há espaço livre suficiente no disco: faltam %n MB; libere espaço e tente novamente</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>não há espaço livre suficiente no disco; libere espaço e tente novamente</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>o atualizador não tem permissão para gravar na pasta do Brenvoth; verifique se é possível gravar nela e tente novamente</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>não é possível gravar um arquivo do Brenvoth, %1: verifique se é possível gravar na pasta do Brenvoth e tente novamente</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>um arquivo do Brenvoth, %1, está sendo usado pelo Brenvoth: feche o Brenvoth e tente novamente</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>um arquivo do Brenvoth, %1, está sendo usado por outro programa; tente novamente daqui a um minuto</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>um arquivo do Brenvoth, %1, está sendo usado por %2; tente novamente quando %2 terminar de usá-lo</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>há uma pasta no lugar onde deve ficar o arquivo %1 do Brenvoth; mova-a para outro lugar e tente novamente</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>a descrição desta versão tem erros, por isso ela não pode ser instalada; o editor precisa corrigi-la</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>não foi possível confirmar que a atualização vem do editor, e ela não foi instalada</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>a versão oferecida %1 é mais antiga que a instalada e não foi instalada</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>não foi possível obter um arquivo desta versão; tente novamente mais tarde</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 é somente leitura ou só pode ser alterado por um administrador, por isso nada foi baixado; permita a gravação ou peça a um administrador para executar a atualização e tente novamente</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>a pasta do Brenvoth</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>%1 na pasta do Brenvoth</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>o servidor de atualização, ou seu espelho, está desatualizado (sua lista de versões expirou em %1); a culpa não é sua, e a atualização será oferecida de novo quando o servidor for atualizado</translation>
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
        <translation>Nome de usuário:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Senha:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Entrar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Entrada no proxy</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nome de usuário</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Senha</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>Usada só nesta atualização e não é salva em lugar nenhum</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>Entra no proxy e continua a atualização</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>Interrompe a atualização sem entrar</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>O proxy %1 pede um nome de usuário e uma senha.</translation>
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
        <translation>Aguardando %1, que está sendo usado por outro programa…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>Aguardando %1, que está sendo usado por %2…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Aguardando o Brenvoth fechar…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; Nada foi alterado.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). Nada foi alterado.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;Não foi possível instalar a atualização:&lt;/b&gt; %1 (%2), e ainda não foi possível restaurar todos os arquivos. Isso será concluído quando o atualizador for iniciado novamente.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;Não foi possível instalar a atualização:&lt;/b&gt; %1 (%2). Nada foi alterado; a atualização será oferecida novamente na próxima vez.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Uma atualização do Brenvoth já está em andamento.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>Nova versão: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Atualizar</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>Baixa e instala a nova versão</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>Baixa e instala a nova versão; o Windows pede a aprovação de um administrador</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>Interrompe a atualização e fecha o atualizador</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Inicia o Brenvoth e fecha o atualizador</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>Fecha o atualizador sem atualizar</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Atualização do Brenvoth</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>Não há informações sobre a versão!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Atualização do Brenvoth</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Notas da versão</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>Progresso do download</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>O Brenvoth %1 não iniciou neste PC, por isso não será instalado novamente. O Brenvoth %2 instalado foi mantido.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;O Brenvoth %1 não iniciou neste PC&lt;/b&gt; (%2). O Brenvoth %3 foi restaurado e iniciado novamente.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;O Brenvoth %1 não iniciou neste PC&lt;/b&gt; (%2), e não foi possível restaurar o Brenvoth %3 (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>As atualizações são gerenciadas pelo seu administrador</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>As atualizações do Brenvoth neste computador são gerenciadas pelo seu administrador, que as desativou. Nada é baixado e nada é alterado.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>Mantido em %1 pelo seu administrador.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>Mantido em %1 pelo seu administrador, que leva o Brenvoth de volta a %2.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>Mantido em %1 pelo seu administrador: a versão instalada permanece.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>Mantido em %1 pelo seu administrador, mas o servidor de atualização não oferece essa versão: a versão instalada permanece.</translation>
    </message>
</context>
</TS>
