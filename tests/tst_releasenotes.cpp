#include "releasenotes.h"

#include <QDomDocument>
#include <QLocale>
#include <QtTest>

class tst_ReleaseNotes : public QObject
{
    Q_OBJECT

private slots:
    void choose_data();
    void choose();
};

void tst_ReleaseNotes::choose_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shown");

    const QString many = "info=\"en\" info-de=\"de\" info-pt=\"pt\" info-pt-BR=\"pt-BR\" info-zh-CN=\"zh-CN\" "
                         "info-zh-TW=\"zh-TW\" info-fr-CA=\"fr-CA\"";
    QTest::newRow("the language's own notes") << many << "de" << "de";
    QTest::newRow("Austrian German takes German") << many << "de_AT" << "de";
    QTest::newRow("the country's notes before the language's") << many << "pt_BR" << "pt-BR";
    QTest::newRow("Portugal takes Portuguese") << many << "pt_PT" << "pt";
    QTest::newRow("Simplified Chinese") << many << "zh_CN" << "zh-CN";
    QTest::newRow("Traditional Chinese, never the simplified") << many << "zh_TW" << "zh-TW";
    QTest::newRow("French of France takes Canada's before none") << many << "fr_FR" << "fr-CA";
    QTest::newRow("a language without notes falls back to info") << many << "ja" << "en";
    QTest::newRow("English falls back to info") << many << "en_US" << "en";
    QTest::newRow("empty notes of the language fall back to info") << "info=\"en\" info-de=\"\"" << "de" << "en";
    QTest::newRow("Hong Kong does not read simplified") << "info=\"en\" info-zh-CN=\"zh-CN\"" << "zh_HK" << "en";
    QTest::newRow("a tag in other letter case") << "info=\"en\" info-PT-br=\"pt-BR\"" << "pt_BR" << "pt-BR";
    QTest::newRow("a tag that names no language") << "info=\"en\" info-xyz1=\"x\"" << "de" << "en";
}

void tst_ReleaseNotes::choose()
{
    QFETCH(QString, attributes);
    QFETCH(QString, language);
    QFETCH(QString, shown);

    QDomDocument document;
    QVERIFY(document.setContent("<software version=\"1\" " + attributes + "/>"));
    QCOMPARE(ReleaseNotes::choose(document.documentElement(), QLocale(language)), shown);
}

QTEST_GUILESS_MAIN(tst_ReleaseNotes)
#include "tst_releasenotes.moc"
