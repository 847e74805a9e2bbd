#include "translations.h"

#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QStringList languages{"ar", "de", "es", "fr", "ja", "ko", "pl", "pt_BR", "ru", "tr", "zh_CN", "zh_TW"};

// The placeholders and bold tags of a text, in a fixed order: a translation
// that loses or adds one shows a wrong or a raw text.
QStringList markers(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%[0-9n]|</?b>"));
    QStringList found;
    for (auto match = marker.globalMatch(text); match.hasNext();)
        found << match.next().captured();
    found.sort();
    return found;
}

// How many plural forms Qt expects of each language.
int pluralForms(const QString &language)
{
    static const QHash<QString, int> forms{{"ar", 6}, {"pl", 3}, {"ru", 3}, {"de", 2}, {"es", 2},
                                           {"fr", 2}, {"pt_BR", 2}};
    return forms.value(language, 1);
}

// The contexts whose texts the window shows as sentences and labels.
const QStringList shownContexts{"UpdateWindow", "UpdateJob", "FailureCause", "ProxySignOnForm"};

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void everyLanguageIsEmbedded();
    void translationsKeepTheirMarkers_data();
    void translationsKeepTheirMarkers();
    void choose_data();
    void choose();
};

void tst_Translations::everyLanguageIsEmbedded()
{
    QCOMPARE(Translations::available(), languages);
}

void tst_Translations::translationsKeepTheirMarkers_data()
{
    QTest::addColumn<QString>("language");
    for (const QString &language : languages)
        QTest::newRow(qPrintable(language)) << language;
}

void tst_Translations::translationsKeepTheirMarkers()
{
    QFETCH(QString, language);
    QFile file(QStringLiteral(BRENVOTH_SOURCE_DIR "/src/app/translations/brenvoth_%1.ts").arg(language));
    QDomDocument ts;
    QVERIFY2(file.open(QIODevice::ReadOnly) && ts.setContent(&file), "the .ts file cannot be read");

    QStringList faults;
    const QDomNodeList contexts = ts.documentElement().elementsByTagName("context");
    for (int c = 0; c < contexts.size(); ++c) {
        const QString context = contexts.at(c).firstChildElement("name").text();
        const QDomNodeList messages = contexts.at(c).toElement().elementsByTagName("message");
        for (int m = 0; m < messages.size(); ++m) {
            const QDomElement message = messages.at(m).toElement();
            const QString source = message.firstChildElement("source").text();
            const QDomElement translation = message.firstChildElement("translation");
            const bool unfinished = translation.attribute("type") == "unfinished";
            if (unfinished && (shownContexts.contains(context) || source.startsWith("Waiting for")))
                faults << "untranslated: " + source;
            if (unfinished)
                continue;
            QStringList forms;
            const QDomNodeList numerus = translation.elementsByTagName("numerusform");
            for (int f = 0; f < numerus.size(); ++f)
                forms << numerus.at(f).toElement().text();
            if (message.attribute("numerus") == "yes" && forms.size() != pluralForms(language))
                faults << QString("%1 plural forms: %2").arg(forms.size()).arg(source);
            if (forms.isEmpty())
                forms << translation.text();
            for (const QString &form : qAsConst(forms)) {
                if (source != "QT_LAYOUT_DIRECTION" && markers(form) != markers(source))
                    faults << "markers differ: " + form;
                if (form.contains("Cancle") || form.contains("infomation"))
                    faults << "English misspelling carried over: " + form;
            }
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void tst_Translations::choose_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("Canadian French, then German, gives French") << QStringList{"fr-CA", "de"} << "fr";
    QTest::newRow("an English display language before a German format gives English")
        << QStringList{"en-US", "de-DE"} << "";
    QTest::newRow("Swahili alone falls back to English") << QStringList{"sw-KE"} << "";
    QTest::newRow("Swahili, then German, gives German") << QStringList{"sw", "de-DE"} << "de";
    QTest::newRow("Austrian German gives German") << QStringList{"de-AT"} << "de";
    QTest::newRow("Brazilian Portuguese") << QStringList{"pt-BR"} << "pt_BR";
    QTest::newRow("European Portuguese takes the Brazilian") << QStringList{"pt-PT"} << "pt_BR";
    QTest::newRow("Simplified Chinese by script") << QStringList{"zh-Hans-CN"} << "zh_CN";
    QTest::newRow("Singapore reads simplified") << QStringList{"zh-SG"} << "zh_CN";
    QTest::newRow("Taiwan reads traditional") << QStringList{"zh-TW"} << "zh_TW";
    QTest::newRow("Hong Kong reads traditional") << QStringList{"zh-Hant-HK"} << "zh_TW";
    QTest::newRow("Arabic of Egypt") << QStringList{"ar-EG"} << "ar";
    QTest::newRow("the C locale of a bare system gives English") << QStringList{"C"} << "";
    QTest::newRow("no languages give English") << QStringList{} << "";
}

void tst_Translations::choose()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, chosen);

    QCOMPARE(Translations::choose(uiLanguages, Translations::available()), chosen);
}

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_translations.moc"
