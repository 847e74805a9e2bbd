<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>yayıncının sunucusunda bu sürümün bir dosyası eksik; daha sonra yeniden deneyin</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>yayıncının sunucusu bu sürümün bir dosyasını vermedi; daha sonra yeniden deneyin</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>güncelleme sunucusuna ulaşılamadı; internet bağlantısını kontrol edin</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>indirme %1 sn boyunca durdu; internet bağlantısını kontrol edin ve yeniden deneyin</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>indirilen bir dosya yolda bozuldu; daha sonra yeniden deneyin</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>güncelleme sunucusu yayıncıya ait olduğunu kanıtlayamadı; bilgisayarın tarih ve saatini kontrol edin ya da daha sonra yeniden deneyin</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>bu bilgisayar ile internet arasındaki proxy sunucusu indirmeye izin vermedi; proxy ayarlarını kontrol edin</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>yayıncının sunucusu indirmeyi kullanılmaması gereken bir adrese yönlendirdi; daha sonra yeniden deneyin</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>diskte yeterli boş alan yok: %n MB daha gerekiyor; biraz yer açın ve yeniden deneyin</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>diskte yeterli boş alan yok; biraz yer açın ve yeniden deneyin</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>güncelleyici Brenvoth klasörüne yazamıyor; klasöre yazılabildiğini kontrol edin ve yeniden deneyin</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>Brenvoth dosyası %1 yazılamıyor: Brenvoth klasörüne yazılabildiğini kontrol edin ve yeniden deneyin</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>Brenvoth dosyası %1 Brenvoth tarafından kullanılıyor: Brenvoth&apos;u kapatın ve yeniden deneyin</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>Brenvoth dosyası %1 başka bir program tarafından kullanılıyor; bir dakika sonra yeniden deneyin</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>Brenvoth dosyası %1, %2 tarafından kullanılıyor; %2 dosyayla işini bitirince yeniden deneyin</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>Brenvoth dosyası %1 için ayrılan yerde bir klasör var; klasörü başka bir yere taşıyın ve yeniden deneyin</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>bu sürümün açıklaması hatalı, bu yüzden yüklenemiyor; yayıncının bunu düzeltmesi gerekiyor</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>güncellemenin yayıncıdan geldiği doğrulanamadı ve güncelleme yüklenmedi</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>sunulan %1 sürümü yüklü olandan daha eski ve yüklenmedi</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>bu sürümün bir dosyası alınamadı; daha sonra yeniden deneyin</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 salt okunur ya da yalnızca bir yönetici tarafından değiştirilebilir, bu yüzden hiçbir şey indirilmedi; yazmaya izin verin ya da güncellemeyi bir yöneticiye çalıştırtın ve yeniden deneyin</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>Brenvoth klasörü</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>Brenvoth klasöründeki %1</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>güncelleme sunucusu veya yansısı güncel değil (sürüm listesinin süresi %1 tarihinde doldu); bu sizin hatanız değil ve sunucu güncellendiğinde güncelleme yeniden sunulacak</translation>
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
        <translation>Kullanıcı adı:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Parola:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Oturum aç</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>İptal</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>Proxy oturumu</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Kullanıcı adı</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Parola</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>Yalnızca bu güncelleme için kullanılır, hiçbir yere kaydedilmez</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>Proxy&apos;de oturum açar ve güncellemeye devam eder</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>Oturum açmadan güncellemeyi durdurur</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>%1 proxy sunucusu bir kullanıcı adı ve parola istiyor.</translation>
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
        <translation>%1 bekleniyor; başka bir program kullanıyor…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>%1 bekleniyor; %2 kullanıyor…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>Brenvoth&apos;un kapanması bekleniyor…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; Hiçbir şey değiştirilmedi.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (%2). Hiçbir şey değiştirilmedi.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;Güncelleme yüklenemedi:&lt;/b&gt; %1 (%2) ve henüz tüm dosyalar geri yüklenemedi. Bu işlem, güncelleyici yeniden başladığında tamamlanacak.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;Güncelleme yüklenemedi:&lt;/b&gt; %1 (%2). Hiçbir şey değiştirilmedi; güncelleme bir dahaki sefere yeniden sunulacak.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>Brenvoth güncellemesi zaten çalışıyor.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>Yeni sürüm: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Güncelle</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>Yeni sürümü indirir ve yükler</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>Yeni sürümü indirir ve kurar; Windows bir yöneticinin onayını ister</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>İptal</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>Güncellemeyi durdurur ve güncelleyiciyi kapatır</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Tamam</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>Brenvoth&apos;u başlatır ve güncelleyiciyi kapatır</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>Güncelleme yapmadan güncelleyiciyi kapatır</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Brenvoth güncellemesi</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>Sürüm bilgisi yok!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>Brenvoth güncellemesi</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Kapat</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Sürüm notları</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>İndirme ilerlemesi</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>Brenvoth %1 bu bilgisayarda başlamadı, bu yüzden yeniden yüklenmiyor. Yüklü Brenvoth %2 korunuyor.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;Brenvoth %1 bu bilgisayarda başlamadı&lt;/b&gt; (%2). Brenvoth %3 geri yüklendi ve yeniden başlatıldı.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;Brenvoth %1 bu bilgisayarda başlamadı&lt;/b&gt; (%2) ve Brenvoth %3 geri yüklenemedi (%4).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>Güncellemeler yöneticiniz tarafından yönetiliyor</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>Bu bilgisayardaki Brenvoth güncellemeleri, onları kapatan yöneticiniz tarafından yönetiliyor. Hiçbir şey indirilmez ve hiçbir şey değiştirilmez.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>Yöneticiniz tarafından %1 sürümünde tutuluyor.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>Yöneticiniz tarafından %1 sürümünde tutuluyor; Brenvoth %2 sürümüne geri alınıyor.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>Yöneticiniz tarafından %1 sürümünde tutuluyor: kurulu sürüm kalıyor.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>Yöneticiniz tarafından %1 sürümünde tutuluyor, ancak güncelleme sunucusu böyle bir sürüm sunmuyor: kurulu sürüm kalıyor.</translation>
    </message>
</context>
</TS>
