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
    QHash<QString, QRect> rects;     // in window coordinates
    QHash<QString, QString> names;   // what a screen reader hears, and the update button's text
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

QRect scaled(const QRect &rect, qreal factor)
{
    return QRect(QPoint(qRound(rect.left() * factor), qRound(rect.top() * factor)),
                 rect.size() * factor);
}

// The pixels of the progress bar's green chunk within area.
int chunkPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGreen(image.pixel(x, y)) > 0x80 && qRed(image.pixel(x, y)) < 0x80;
    return count;
}

} // namespace

class tst_WindowScale : public QObject
{
    Q_OBJECT

private slots:
    void scaledWindow_data();
    void scaledWindow();
    void languages_data();
    void languages();

private:
    QTemporaryDir work;
    Grab grabWindow(int dpi, const QString &version, const QString &languages = QString());
};

// The display scale reaches the window as Windows gives it, a logical DPI of
// 96 times the scale: it is the program's own start-up that must turn it into
// a larger window rather than only larger fonts.
Grab tst_WindowScale::grabWindow(int dpi, const QString &version, const QString &languages)
{
    const QString appDir = work.filePath(QStringLiteral("app-%1-%2-%3").arg(dpi).arg(version.size()).arg(languages));
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
    if (languages.isEmpty()) {
        // The reference was drawn in English, with the DejaVu fonts alone that
        // the tests' font configuration names.
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.remove(QStringLiteral("LC_ALL"));
        environment.remove(QStringLiteral("LC_MESSAGES"));
    } else {
        // Other scripts need the machine's own fonts (Noto for CJK and Arabic).
        environment.remove(QStringLiteral("FONTCONFIG_FILE"));
    }
    grabber.setProcessEnvironment(environment);
    grabber.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString picture = appDir + QStringLiteral(".png");
    QStringList arguments{appDir, picture};
    if (!languages.isEmpty())
        arguments << languages;
    grabber.start(QStringLiteral(WINDOW_GRAB), arguments);
    Grab grab;
    if (!grabber.waitForFinished(60000) || grabber.exitCode() != 0)
        return grab;
    grab.image = QImage(picture).convertToFormat(QImage::Format_RGB32);
    for (const QByteArray &line : grabber.readAllStandardOutput().split('\n')) {
        const QString text = QString::fromUtf8(line.trimmed());
        const QStringList fields = text.split(QLatin1Char(' '));
        if (fields.first() == QLatin1String("name") && fields.size() >= 2)
            grab.names.insert(fields[1], text.section(QLatin1Char(' '), 2));
        else if (fields.first() == QLatin1String("rect") && fields.size() == 6)
            grab.rects.insert(fields[1], QRect(fields[2].toInt(), fields[3].toInt(), fields[4].toInt(),
                                               fields[5].toInt()));
        else if (fields.size() == 5) {
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

void tst_WindowScale::languages_data()
{
    QTest::addColumn<QString>("languages");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("translated");
    QTest::addColumn<bool>("rightToLeft");

    const QStringList translated{"zh-CN", "ru", "es", "pt-BR", "de", "ja", "fr", "ko", "pl", "tr", "zh-TW", "ar"};
    for (int dpi : {96, 192}) {
        const QString scale = QStringLiteral(" at %1 %").arg(dpi * 100 / 96);
        QTest::newRow(qPrintable("English" + scale)) << "en-US" << dpi << false << false;
        QTest::newRow(qPrintable("Swahili falls back to English" + scale)) << "sw-KE" << dpi << false << false;
        for (const QString &language : translated)
            QTest::newRow(qPrintable(language + scale)) << language << dpi << true << (language == "ar");
    }
    for (int dpi : {96, 144, 192})
        QTest::newRow(qPrintable(QStringLiteral("pseudo-translation at %1 %").arg(dpi * 100 / 96)))
            << "pseudo" << dpi << true << false;
}

// The window in each language: every text fits, nothing overlaps, a screen
// reader hears the language, and Arabic is mirrored.
void tst_WindowScale::languages()
{
    QFETCH(QString, languages);
    QFETCH(int, dpi);
    QFETCH(bool, translated);
    QFETCH(bool, rightToLeft);
    QVERIFY(work.isValid());

    const Grab grab = grabWindow(dpi, QStringLiteral("2.1.0"), languages);
    QVERIFY2(!grab.image.isNull(), "windowgrab drew no window");
    for (const QString &name : {QStringLiteral("version"), QStringLiteral("update")}) {
        const QSize hint = grab.hints.value(name), size = grab.sizes.value(name);
        QVERIFY2(!hint.isEmpty() && hint.width() <= size.width() && hint.height() <= size.height(),
                 qPrintable(QStringLiteral("the %1 text needs %2 x %3 in %4 x %5").arg(name)
                                .arg(hint.width()).arg(hint.height()).arg(size.width()).arg(size.height())));
    }
    const QStringList apart{"version", "textEdit", "progressBar", "update"};
    for (int i = 0; i < apart.size(); ++i)
        for (int j = i + 1; j < apart.size(); ++j)
            QVERIFY2(!grab.rects.value(apart[i]).intersects(grab.rects.value(apart[j])),
                     qPrintable(apart[i] + " overlaps " + apart[j]));
    const QRect window(0, 0, 639, 365);
    for (const QString &name : apart)
        QVERIFY2(window.contains(grab.rects.value(name)), qPrintable(name + " leaves the window"));

    const QHash<QString, QString> english{{"window", "Brenvoth update"}, {"closeButton", "Close"},
                                          {"textEdit", "Release notes"}, {"progressBar", "Download progress"},
                                          {"updateText", "Update"}};
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        const QString heard = grab.names.value(it.key());
        QVERIFY2(!heard.isEmpty(), qPrintable(it.key() + " has no name"));
        QVERIFY2((heard == it.value()) != translated,
                 qPrintable(QStringLiteral("%1 reads \"%2\"").arg(it.key(), heard)));
    }

    const QRect close = grab.rects.value("closeButton"), logo = grab.rects.value("widget_2");
    QCOMPARE(close.right() < logo.left(), rightToLeft);
    // The bar is half full: its filled half is at the start of the reading direction.
    const QRect bar = scaled(grab.rects.value("progressBar"), dpi / 96.0);
    const int leftHalf = chunkPixels(grab.image, bar.adjusted(0, 0, -bar.width() / 2, 0));
    const int rightHalf = chunkPixels(grab.image, bar.adjusted(bar.width() / 2, 0, 0, 0));
    QVERIFY2((rightHalf > leftHalf) == rightToLeft,
             qPrintable(QStringLiteral("the bar's chunk: %1 pixels left, %2 right").arg(leftHalf).arg(rightHalf)));
}

QTEST_GUILESS_MAIN(tst_WindowScale)
#include "tst_windowscale.moc"
