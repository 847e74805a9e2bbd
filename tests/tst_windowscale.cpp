#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// What windowgrab drew and measured in its own process.
struct Grab
{
    QImage image;
    QHash<QString, QSize> hints;
    QHash<QString, QSize> sizes;
};

// Among the lit pixels of area, the share drawn in the picture's full colour:
// a picture upscaled from too few pixels blurs its strokes and loses most of them.
double fullColourShare(const QImage &image, const QRect &area, int fullGreen)
{
    int lit = 0, full = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int green = qGreen(image.pixel(x, y));
            lit += green > 0x20;
            full += green >= fullGreen - 8;
        }
    return lit ? double(full) / lit : 0;
}

// The window as it was drawn before it scaled, by each platform's fonts.
#ifdef Q_OS_WIN
#define WINDOW_REFERENCE "window-100-windows.png"
#else
#define WINDOW_REFERENCE "window-100.png"
#endif

#ifndef Q_OS_WIN
// The reference was drawn with DejaVu, the fonts the scripts install. Other
// fonts on the machine (Noto, say) would win fontconfig's choice of the default
// sans-serif and change every glyph, so the grab sees DejaVu's folder alone.
bool writeFontConfig(const QString &path, const QString &cache)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
        && file.write(QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">"
                                     "<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir>"
                                     "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>"
                                     "<cachedir>%1</cachedir></fontconfig>")
                          .arg(cache).toUtf8()) > 0;
}
#endif

QRect scaled(const QRect &rect, qreal factor)
{
    return QRect(QPoint(qRound(rect.left() * factor), qRound(rect.top() * factor)),
                 rect.size() * factor);
}

} // namespace

class tst_WindowScale : public QObject
{
    Q_OBJECT

private slots:
    void scaledWindow_data();
    void scaledWindow();

private:
    QTemporaryDir work;
    Grab grabWindow(int dpi, const QString &version);
};

// The display scale reaches the window as Windows gives it, a logical DPI of
// 96 times the scale: it is the program's own start-up that must turn it into
// a larger window rather than only larger fonts.
Grab tst_WindowScale::grabWindow(int dpi, const QString &version)
{
    const QString appDir = work.filePath(QStringLiteral("app-%1-%2").arg(dpi).arg(version.size()));
    QDir().mkpath(appDir + QStringLiteral("/download"));
    if (!version.isEmpty()) {
        QFile manifest(appDir + QStringLiteral("/download/version.xml"));
        manifest.open(QIODevice::WriteOnly);
        manifest.write(QStringLiteral("<filelist curVersion=\"%1\"><software version=\"%1\" info=\"Notes.\">"
                                      "<file name=\"core.dll\" dir=\"\" version=\"%1\"/></software></filelist>")
                           .arg(version).toUtf8());
    }
    QProcess grabber;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_FONT_DPI"), QString::number(dpi));
#ifndef Q_OS_WIN
    const QString fontConfig = work.filePath(QStringLiteral("fonts.conf"));
    if (!QFile::exists(fontConfig)
        && !writeFontConfig(fontConfig, work.filePath(QStringLiteral("fontcache"))))
        return Grab();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), fontConfig);
#endif
    grabber.setProcessEnvironment(environment);
    grabber.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString picture = appDir + QStringLiteral(".png");
    grabber.start(QStringLiteral(WINDOW_GRAB), {appDir, picture});
    Grab grab;
    if (!grabber.waitForFinished(60000) || grabber.exitCode() != 0)
        return grab;
    grab.image = QImage(picture).convertToFormat(QImage::Format_RGB32);
    for (const QByteArray &line : grabber.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.trimmed().split(' ');
        if (fields.size() == 5) {
            grab.hints.insert(fields[0], QSize(fields[1].toInt(), fields[2].toInt()));
            grab.sizes.insert(fields[0], QSize(fields[3].toInt(), fields[4].toInt()));
        }
    }
    return grab;
}

void tst_WindowScale::scaledWindow_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<qreal>("factor");
    QTest::addColumn<QString>("version");

    QTest::newRow("at 100 %") << 96 << 1.0 << QString();
    QTest::newRow("at 125 %") << 120 << 1.25 << QString();
    QTest::newRow("at 150 %") << 144 << 1.5 << QString();
    QTest::newRow("at 200 %") << 192 << 2.0 << QString();
    QTest::newRow("at 200 % with a long version") << 192 << 2.0
        << QStringLiteral("2026.12.08-release-candidate.3+build.4711");
}

void tst_WindowScale::scaledWindow()
{
    QFETCH(int, dpi);
    QFETCH(qreal, factor);
    QFETCH(QString, version);
    QVERIFY(work.isValid());

    const Grab grab = grabWindow(dpi, version);
    QVERIFY2(!grab.image.isNull(), "windowgrab drew no window");
    QCOMPARE(grab.image.size(), QSize(qRound(639 * factor), qRound(365 * factor)));
    for (const QString &name : {QStringLiteral("version"), QStringLiteral("update")}) {
        QVERIFY2(grab.sizes.contains(name), qPrintable(name + " was not measured"));
        const QSize hint = grab.hints.value(name), size = grab.sizes.value(name);
        QVERIFY2(hint.width() <= size.width() && hint.height() <= size.height(),
                 qPrintable(QStringLiteral("the %1 text needs %2 x %3 in %4 x %5").arg(name)
                                .arg(hint.width()).arg(hint.height()).arg(size.width()).arg(size.height())));
    }

    if (factor == 1.0 && version.isEmpty()) {
        const QImage reference = QImage(QStringLiteral(BRENVOTH_SOURCE_DIR "/tests/" WINDOW_REFERENCE))
                                     .convertToFormat(QImage::Format_RGB32);
        QVERIFY2(grab.image == reference, "at 100 % the window no longer looks as it did");
    }
    if (factor == 2.0) {
        const double cross = fullColourShare(grab.image, scaled(QRect(607, 7, 26, 26), factor), 0x98);
        QVERIFY2(cross > 0.25, qPrintable(QStringLiteral("the close cross is blurred (%1)").arg(cross)));
        const double logo = fullColourShare(grab.image, scaled(QRect(0, 0, 151, 41), factor), 0xec);
        QVERIFY2(logo > 0.6, qPrintable(QStringLiteral("the logo is blurred (%1)").arg(logo)));
    }
}

QTEST_GUILESS_MAIN(tst_WindowScale)
#include "tst_windowscale.moc"
