<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar">
<context>
    <name>FailureCause</name>
    <message>
        <source>the publisher&apos;s server is missing a file of this release; try again later</source>
        <translation>أحد ملفات هذا الإصدار غير موجود على خادم الناشر؛ أعد المحاولة لاحقًا</translation>
    </message>
    <message>
        <source>the publisher&apos;s server did not hand out a file of this release; try again later</source>
        <translation>لم يقدّم خادم الناشر أحد ملفات هذا الإصدار؛ أعد المحاولة لاحقًا</translation>
    </message>
    <message>
        <source>the update server could not be reached; check the internet connection</source>
        <translation>تعذّر الوصول إلى خادم التحديث؛ تحقّق من الاتصال بالإنترنت</translation>
    </message>
    <message numerus="yes">
        <source>the download stopped for %1 s; check the internet connection and try again</source>
        <translation>
            <numerusform>توقف التنزيل لمدة ⁨%1⁩ ثانية؛ تحقّق من الاتصال بالإنترنت وأعد المحاولة</numerusform>
            <numerusform>توقف التنزيل لمدة ⁨%1⁩ ثانية؛ تحقّق من الاتصال بالإنترنت وأعد المحاولة</numerusform>
            <numerusform>توقف التنزيل لمدة ⁨%1⁩ ثانية؛ تحقّق من الاتصال بالإنترنت وأعد المحاولة</numerusform>
            <numerusform>توقف التنزيل لمدة ⁨%1⁩ ثوانٍ؛ تحقّق من الاتصال بالإنترنت وأعد المحاولة</numerusform>
            <numerusform>توقف التنزيل لمدة ⁨%1⁩ ثانية؛ تحقّق من الاتصال بالإنترنت وأعد المحاولة</numerusform>
            <numerusform>توقف التنزيل لمدة ⁨%1⁩ ثانية؛ تحقّق من الاتصال بالإنترنت وأعد المحاولة</numerusform>
        </translation>
    </message>
    <message>
        <source>a downloaded file was damaged on the way; try again later</source>
        <translation>تلف ملف تم تنزيله أثناء النقل؛ أعد المحاولة لاحقًا</translation>
    </message>
    <message>
        <source>the update server could not prove that it is the publisher&apos;s; check the computer&apos;s date and time, or try again later</source>
        <translation>تعذّر على خادم التحديث إثبات أنه تابع للناشر؛ تحقّق من تاريخ الكمبيوتر ووقته، أو أعد المحاولة لاحقًا</translation>
    </message>
    <message>
        <source>the proxy server between this computer and the internet did not let the download through; check the proxy settings</source>
        <translation>لم يسمح الخادم الوكيل بين هذا الكمبيوتر والإنترنت بمرور التنزيل؛ تحقّق من إعدادات الخادم الوكيل</translation>
    </message>
    <message>
        <source>the publisher&apos;s server sent the download to an address that may not be used; try again later</source>
        <translation>أرسل خادم الناشر التنزيل إلى عنوان لا يجوز استخدامه؛ أعد المحاولة لاحقًا</translation>
    </message>
    <message numerus="yes">
        <source>there is not enough free space on the disk: it needs %n MB more; free some space and try again</source>
        <translation>
            <numerusform>لا توجد مساحة خالية كافية على القرص: يلزم ⁨%n⁩ ميغابايت إضافية؛ أفرغ بعض المساحة وأعد المحاولة</numerusform>
            <numerusform>لا توجد مساحة خالية كافية على القرص: يلزم ⁨%n⁩ ميغابايت إضافية؛ أفرغ بعض المساحة وأعد المحاولة</numerusform>
            <numerusform>لا توجد مساحة خالية كافية على القرص: يلزم ⁨%n⁩ ميغابايت إضافية؛ أفرغ بعض المساحة وأعد المحاولة</numerusform>
            <numerusform>لا توجد مساحة خالية كافية على القرص: يلزم ⁨%n⁩ ميغابايت إضافية؛ أفرغ بعض المساحة وأعد المحاولة</numerusform>
            <numerusform>لا توجد مساحة خالية كافية على القرص: يلزم ⁨%n⁩ ميغابايت إضافية؛ أفرغ بعض المساحة وأعد المحاولة</numerusform>
            <numerusform>لا توجد مساحة خالية كافية على القرص: يلزم ⁨%n⁩ ميغابايت إضافية؛ أفرغ بعض المساحة وأعد المحاولة</numerusform>
        </translation>
    </message>
    <message>
        <source>there is not enough free space on the disk; free some space and try again</source>
        <translation>لا توجد مساحة خالية كافية على القرص؛ أفرغ بعض المساحة وأعد المحاولة</translation>
    </message>
    <message>
        <source>the updater may not write into the folder of Brenvoth; check that it may be written and try again</source>
        <translation>لا يُسمح لأداة التحديث بالكتابة في مجلد Brenvoth؛ تحقّق من إمكانية الكتابة فيه وأعد المحاولة</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, may not be written: check that the folder of Brenvoth may be written and try again</source>
        <translation>لا يمكن كتابة ملف Brenvoth ⁨%1⁩: تحقّق من إمكانية الكتابة في مجلد Brenvoth وأعد المحاولة</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by Brenvoth: close Brenvoth and try again</source>
        <translation>ملف Brenvoth ⁨%1⁩ قيد الاستخدام من قِبل Brenvoth: أغلق Brenvoth وأعد المحاولة</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by another program; try again in a minute</source>
        <translation>ملف Brenvoth ⁨%1⁩ قيد الاستخدام من قِبل برنامج آخر؛ أعد المحاولة بعد دقيقة</translation>
    </message>
    <message>
        <source>a file of Brenvoth, %1, is in use by %2; try again once %2 is done with it</source>
        <translation>ملف Brenvoth ⁨%1⁩ قيد الاستخدام من قِبل ⁨%2⁩؛ أعد المحاولة عندما ينتهي ⁨%2⁩ منه</translation>
    </message>
    <message>
        <source>a folder stands where the file %1 of Brenvoth must go; move it away and try again</source>
        <translation>يوجد مجلد في المكان الذي يجب أن يوضع فيه ملف Brenvoth ⁨%1⁩؛ انقله إلى مكان آخر وأعد المحاولة</translation>
    </message>
    <message>
        <source>the description of this release is faulty, so it cannot be installed; the publisher has to correct it</source>
        <translation>وصف هذا الإصدار معيب، لذا لا يمكن تثبيته؛ على الناشر أن يصحّحه</translation>
    </message>
    <message>
        <source>the update could not be verified as coming from the publisher and was not installed</source>
        <translation>تعذّر التحقق من أن التحديث صادر عن الناشر، فلم يُثبَّت</translation>
    </message>
    <message>
        <source>the offered release %1 is older than the installed one and was not installed</source>
        <translation>الإصدار المعروض ⁨%1⁩ أقدم من الإصدار المثبّت، فلم يُثبَّت</translation>
    </message>
    <message>
        <source>a file of this release could not be fetched; try again later</source>
        <translation>تعذّر جلب أحد ملفات هذا الإصدار؛ أعد المحاولة لاحقًا</translation>
    </message>
    <message>
        <source>%1 is read-only or may be changed only by an administrator, so nothing was downloaded; make it writable, or have an administrator run the update, and try again</source>
        <translation>%1 للقراءة فقط أو لا يغيّره إلا المسؤول، لذا لم يُنزَّل شيء؛ اجعله قابلًا للكتابة، أو اطلب من المسؤول تشغيل التحديث، ثم أعد المحاولة</translation>
    </message>
    <message>
        <source>the folder of Brenvoth</source>
        <translation>مجلد Brenvoth</translation>
    </message>
    <message>
        <source>%1 in the folder of Brenvoth</source>
        <translation>⁨%1⁩ في مجلد Brenvoth</translation>
    </message>
    <message>
        <source>the update server, or the mirror it is served from, is out of date (its list of releases expired on %1); this is not your fault, and the update will be offered again once the server is brought up to date</source>
        <translation>خادم التحديث أو النسخة المطابقة منه قديم (انتهت صلاحية قائمة إصداراته في %1)؛ ليس هذا خطأك، وسيُعرض التحديث مرة أخرى عند تحديث الخادم</translation>
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
        <translation>اسم المستخدم:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>كلمة المرور:</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>تسجيل الدخول</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>إلغاء</translation>
    </message>
    <message>
        <source>Proxy sign-in</source>
        <translation>تسجيل الدخول إلى الخادم الوكيل</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>اسم المستخدم</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>كلمة المرور</translation>
    </message>
    <message>
        <source>Used for this update only and saved nowhere</source>
        <translation>تُستخدم لهذا التحديث فقط ولا تُحفظ في أي مكان</translation>
    </message>
    <message>
        <source>Signs in to the proxy and goes on with the update</source>
        <translation>يسجّل الدخول إلى الخادم الوكيل ويتابع التحديث</translation>
    </message>
    <message>
        <source>Stops the update without signing in</source>
        <translation>يوقف التحديث دون تسجيل الدخول</translation>
    </message>
    <message>
        <source>The proxy %1 asks for a user name and password.</source>
        <translation>يطلب الخادم الوكيل %1 اسم مستخدم وكلمة مرور.</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <comment>Translate this string to the string &apos;LTR&apos; in left-to-right languages or to &apos;RTL&apos; in right-to-left languages (such as Hebrew and Arabic) to get proper widget layout.</comment>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>UpdateJob</name>
    <message>
        <source>Waiting for %1, which another program is using…</source>
        <translation>في انتظار ⁨%1⁩، الذي يستخدمه برنامج آخر…</translation>
    </message>
    <message>
        <source>Waiting for %1, which %2 is using…</source>
        <translation>في انتظار ⁨%1⁩، الذي يستخدمه ⁨%2⁩…</translation>
    </message>
    <message>
        <source>Waiting for Brenvoth to close…</source>
        <translation>في انتظار إغلاق Brenvoth…</translation>
    </message>
</context>
<context>
    <name>UpdateWindow</name>
    <message>
        <source>&lt;b&gt;%1.&lt;/b&gt; Nothing was changed.</source>
        <translation>&lt;b&gt;%1.&lt;/b&gt; لم يتغير شيء.</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt; (%2). Nothing was changed.</source>
        <translation>&lt;b&gt;%1&lt;/b&gt; (⁨%2⁩). لم يتغير شيء.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2), and not every file could be put back yet. This is finished when the updater starts again.</source>
        <translation>&lt;b&gt;تعذّر تثبيت التحديث:&lt;/b&gt; %1 (⁨%2⁩)، ولم تُستعَد كل الملفات بعد. سيكتمل ذلك عند تشغيل أداة التحديث مرة أخرى.</translation>
    </message>
    <message>
        <source>&lt;b&gt;The update could not be installed:&lt;/b&gt; %1 (%2). Nothing was changed; the update will be offered again next time.</source>
        <translation>&lt;b&gt;تعذّر تثبيت التحديث:&lt;/b&gt; %1 (⁨%2⁩). لم يتغير شيء، وسيُعرض التحديث مرة أخرى في المرة القادمة.</translation>
    </message>
    <message>
        <source>An update of Brenvoth is already running.</source>
        <translation>هناك تحديث لـ Brenvoth قيد التشغيل بالفعل.</translation>
    </message>
    <message>
        <source>New Version: </source>
        <translation>الإصدار الجديد: </translation>
    </message>
    <message>
        <source>Update</source>
        <translation>تحديث</translation>
    </message>
    <message>
        <source>Downloads and installs the new version</source>
        <translation>ينزّل الإصدار الجديد ويثبّته</translation>
    </message>
    <message>
        <source>Downloads and installs the new version; Windows asks for an administrator&apos;s approval</source>
        <translation>ينزّل الإصدار الجديد ويثبّته؛ يطلب Windows موافقة المسؤول</translation>
    </message>
    <message>
        <source>Cancle</source>
        <translation>إلغاء</translation>
    </message>
    <message>
        <source>Stops the update and closes the updater</source>
        <translation>يوقف التحديث ويغلق أداة التحديث</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>موافق</translation>
    </message>
    <message>
        <source>Starts Brenvoth and closes the updater</source>
        <translation>يشغّل Brenvoth ويغلق أداة التحديث</translation>
    </message>
    <message>
        <source>Closes the updater without updating</source>
        <translation>يغلق أداة التحديث دون تحديث</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>تحديث Brenvoth</translation>
    </message>
    <message>
        <source>There is no version infomation!</source>
        <translation>لا توجد معلومات عن الإصدار!</translation>
    </message>
    <message>
        <source>Brenvoth update</source>
        <translation>تحديث Brenvoth</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>إغلاق</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>ملاحظات الإصدار</translation>
    </message>
    <message>
        <source>Download progress</source>
        <translation>تقدّم التنزيل</translation>
    </message>
    <message>
        <source>Brenvoth %1 did not start on this PC, so it is not installed again. The installed Brenvoth %2 is kept.</source>
        <translation>لم يبدأ Brenvoth %1 على هذا الكمبيوتر، لذا لن يُثبَّت مرة أخرى. يُحتفَظ بالإصدار المثبّت Brenvoth %2.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2). Brenvoth %3 was put back and started again.</source>
        <translation>&lt;b&gt;لم يبدأ Brenvoth %1 على هذا الكمبيوتر&lt;/b&gt; (⁨%2⁩). أُعيد Brenvoth %3 وبدأ تشغيله من جديد.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Brenvoth %1 did not start on this PC&lt;/b&gt; (%2), and Brenvoth %3 could not be put back (%4).</source>
        <translation>&lt;b&gt;لم يبدأ Brenvoth %1 على هذا الكمبيوتر&lt;/b&gt; (⁨%2⁩)، وتعذّرت إعادة Brenvoth %3 (⁨%4⁩).</translation>
    </message>
    <message>
        <source>Updates are managed by your administrator</source>
        <translation>يدير المسؤول التحديثات</translation>
    </message>
    <message>
        <source>Updates of Brenvoth on this computer are managed by your administrator, who has turned them off. Nothing is downloaded and nothing is changed.</source>
        <translation>يدير المسؤول تحديثات Brenvoth على هذا الكمبيوتر، وقد أوقفها. لا يُنزَّل شيء ولا يتغيّر شيء.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator.</source>
        <translation>ثبّته المسؤول عند %1.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, who takes Brenvoth back to %2.</source>
        <translation>ثبّته المسؤول عند %1، ويعيد Brenvoth إلى %2.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator: the installed version stays.</source>
        <translation>ثبّته المسؤول عند %1: يبقى الإصدار المثبَّت.</translation>
    </message>
    <message>
        <source>Held at %1 by your administrator, but the update server offers no such version: the installed version stays.</source>
        <translation>ثبّته المسؤول عند %1، لكن خادم التحديث لا يقدّم هذا الإصدار: يبقى الإصدار المثبَّت.</translation>
    </message>
</context>
</TS>
