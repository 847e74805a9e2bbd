#include "translations.h"

#include <QtTest>

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void everyLanguageIsEmbedded();
    void choose_data();
    void choose();
};

void tst_Translations::everyLanguageIsEmbedded()
{
    QCOMPARE(Translations::available(),
             QStringList({"ar", "de", "es", "fr", "ja", "ko", "pl", "pt_BR", "ru", "tr", "zh_CN", "zh_TW"}));
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
