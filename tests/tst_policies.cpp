#include "policies.h"
#include "policystore.h"
#include "releasechoice.h"
#include "replayguard.h"

#include <QDir>
#include <QDomDocument>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

// An administrator's settings as the updater reads them, the release they
// choose, the stale manifest, and the Group Policy templates that describe them.
class tst_Policies : public QObject
{
    Q_OBJECT

private slots:
    void readValues_data();
    void readValues();
    void chooseRelease_data();
    void chooseRelease();
    void expiry_data();
    void expiry();
    void templatesDescribeWhatIsRead();
    void everyLanguageHasEveryString_data();
    void everyLanguageHasEveryString();

private:
    QTemporaryDir dir;
};

void tst_Policies::readValues_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("rollback");
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("ignored");

    QTest::newRow("nothing set") << QByteArray("{}") << false << "" << false << "" << 0;
    QTest::newRow("no file") << QByteArray() << false << "" << false << "" << 0;
    QTest::newRow("updates off") << QByteArray(R"({"UpdatesDisabled": 1})") << true << "" << false << "" << 0;
    QTest::newRow("updates on, said so") << QByteArray(R"({"UpdatesDisabled": 0})") << false << "" << false << "" << 0;
    QTest::newRow("updates off as a string is ignored")
        << QByteArray(R"({"UpdatesDisabled": "1"})") << false << "" << false << "" << 1;
    QTest::newRow("a switch out of range is ignored")
        << QByteArray(R"({"UpdatesDisabled": 2})") << false << "" << false << "" << 1;
    QTest::newRow("a prefix with rollback")
        << QByteArray(R"({"TargetVersionPrefix": "2.3.", "RollbackToTargetVersion": 1})")
        << false << "2.3." << true << "" << 0;
    QTest::newRow("rollback without a prefix is ignored")
        << QByteArray(R"({"RollbackToTargetVersion": 1})") << false << "" << false << "" << 1;
    QTest::newRow("a prefix as a number is ignored")
        << QByteArray(R"({"TargetVersionPrefix": 2})") << false << "" << false << "" << 1;
    QTest::newRow("a prefix with a blank is ignored")
        << QByteArray(R"({"TargetVersionPrefix": "2. 3"})") << false << "" << false << "" << 1;
    QTest::newRow("an https mirror gets its closing slash")
        << QByteArray(R"({"UpdateServer": "https://mirror.example/brenvoth"})")
        << false << "" << false << "https://mirror.example/brenvoth/" << 0;
    QTest::newRow("a plain http mirror alone is ignored")
        << QByteArray(R"({"UpdateServer": "http://mirror.example/"})") << false << "" << false << "" << 1;
    QTest::newRow("a plain http mirror allowed explicitly")
        << QByteArray(R"({"UpdateServer": "http://127.0.0.1:8080/b/", "AllowHttpUpdateServer": 1})")
        << false << "" << false << "http://127.0.0.1:8080/b/" << 0;
    QTest::newRow("a mirror with a login is ignored")
        << QByteArray(R"({"UpdateServer": "https://user:pw@mirror.example/"})") << false << "" << false << "" << 1;
    QTest::newRow("a mirror of another scheme is ignored")
        << QByteArray(R"({"UpdateServer": "file:///srv/brenvoth/"})") << false << "" << false << "" << 1;
    QTest::newRow("an unknown value is ignored, the rest read")
        << QByteArray(R"({"UpdatesDisabeld": 1, "TargetVersionPrefix": "2.3."})") << false << "2.3." << false << "" << 1;
}

void tst_Policies::readValues()
{
    QFETCH(QByteArray, json);
    const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".json");
    if (!json.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(json) == json.size());
    }
    QStringList ignored;
    const Policies policies = Policies::fromValues(PolicyStore::readFile(path), &ignored);
    QTEST(policies.updatesDisabled, "disabled");
    QTEST(policies.target.prefix, "prefix");
    QTEST(policies.target.rollback, "rollback");
    QTEST(policies.updateServer, "server");
    QTEST(int(ignored.size()), "ignored");
}

void tst_Policies::chooseRelease_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("rollback");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("version");

    using Outcome = ReleaseChoice::Outcome;
    QTest::newRow("no hold: the current release") << "2.3.0" << "" << false << int(Outcome::Current) << "2.4.0";
    QTest::newRow("held: 2.3.0 gets 2.3.1") << "2.3.0" << "2.3." << false << int(Outcome::Held) << "2.3.1";
    QTest::newRow("held: an older release gets 2.3.1") << "2.2.9" << "2.3." << false << int(Outcome::Held) << "2.3.1";
    QTest::newRow("held: nothing known installed gets 2.3.1") << "" << "2.3." << false << int(Outcome::Held) << "2.3.1";
    QTest::newRow("held: 2.4.0 stays") << "2.4.0" << "2.3." << false << int(Outcome::Stays) << "";
    QTest::newRow("rollback: 2.4.0 goes back to 2.3.1") << "2.4.0" << "2.3." << true << int(Outcome::RolledBack)
                                                        << "2.3.1";
    QTest::newRow("rollback: 2.3.0 goes forward to 2.3.1") << "2.3.0" << "2.3." << true << int(Outcome::Held)
                                                           << "2.3.1";
    QTest::newRow("2.10 is newer than 2.9") << "2.3.0" << "2.1" << false << int(Outcome::Held) << "2.10.0";
    QTest::newRow("no release with the prefix") << "2.3.0" << "3." << true << int(Outcome::NoneMatches) << "";
}

void tst_Policies::chooseRelease()
{
    QFETCH(QString, installed);
    QFETCH(QString, prefix);
    QFETCH(bool, rollback);
    const QStringList releases{"2.3.1", "2.3.0", "2.4.0", "2.9.0", "2.10.0"};
    const ReleaseChoice choice = ::chooseRelease(releases, QStringLiteral("2.4.0"), installed, {prefix, rollback});
    QTEST(int(choice.outcome), "outcome");
    QTEST(choice.version, "version");
}

void tst_Policies::expiry_data()
{
    QTest::addColumn<QString>("expires");
    QTest::addColumn<qint64>("now");
    QTest::addColumn<int>("kind");

    QTest::newRow("no expiry reads as before") << "" << qint64(4000000000) << int(UpdateError::Kind::None);
    QTest::newRow("a second before it expires") << "1000" << qint64(999) << int(UpdateError::Kind::None);
    QTest::newRow("expired: refused, nothing fetched") << "1000" << qint64(1000) << int(UpdateError::Kind::Older);
    QTest::newRow("an expiry that is no number") << "soon" << qint64(0) << int(UpdateError::Kind::NotInstalled);
}

void tst_Policies::expiry()
{
    QFETCH(QString, expires);
    QFETCH(qint64, now);
    QDomDocument document;
    QDomElement root = document.createElement("filelist");
    if (!expires.isEmpty())
        root.setAttribute("expires", expires);
    UpdateError error;
    const bool fresh = isNotExpired(root, now, &error);
    QCOMPARE(fresh, !error.failed());
    QTEST(int(error.kind), "kind");
    if (error.kind == UpdateError::Kind::Older)
        QVERIFY2(error.cause.plainWords().contains("not your fault"), qPrintable(error.cause.plainWords()));
}

namespace {

const QString admxFolder = QStringLiteral(BRENVOTH_SOURCE_DIR "/policies");

QDomDocument readXml(const QString &path)
{
    QDomDocument document;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return QDomDocument();
    return document;
}

QVector<QDomElement> elements(const QDomNode &below, const QString &tag)
{
    QVector<QDomElement> found;
    const QDomNodeList list = below.toElement().elementsByTagName(tag);
    for (int i = 0; i < list.size(); ++i)
        found.append(list.at(i).toElement());
    return found;
}

} // namespace

// Every value a template sets, with the type and a value it sets, is read by
// the updater without a word, and every value the updater reads has a template.
void tst_Policies::templatesDescribeWhatIsRead()
{
    const QDomDocument admx = readXml(admxFolder + "/brenvoth.admx");
    QVERIFY2(!admx.isNull(), "brenvoth.admx is not well-formed");
    QVariantMap values;
    for (const QDomElement &policy : elements(admx.documentElement(), "policy")) {
        QCOMPARE(policy.attribute("key"), QStringLiteral("SOFTWARE\\Policies\\Brenvoth\\Updater"));
        QCOMPARE(policy.attribute("class"), QStringLiteral("Machine"));
        if (policy.hasAttribute("valueName"))
            values.insert(policy.attribute("valueName"),
                          elements(policy.firstChildElement("enabledValue"), "decimal").value(0).attribute("value").toUInt());
        for (const QDomElement &text : elements(policy, "text"))
            values.insert(text.attribute("valueName"), text.attribute("valueName") == "UpdateServer"
                                                           ? "https://mirror.example/brenvoth/" : "2.3.");
        for (const QDomElement &flag : elements(policy, "boolean"))
            values.insert(flag.attribute("valueName"),
                          elements(flag.firstChildElement("trueValue"), "decimal").value(0).attribute("value").toUInt());
    }
    QStringList ignored;
    const Policies policies = Policies::fromValues(values, &ignored);
    QVERIFY2(ignored.isEmpty(), qPrintable(ignored.join('\n')));
    const QStringList read = Policies::valueNames();
    QCOMPARE(QSet<QString>(values.keyBegin(), values.keyEnd()), QSet<QString>(read.begin(), read.end()));
    QVERIFY(policies.updatesDisabled && policies.target.rollback && !policies.updateServer.isEmpty());
}

void tst_Policies::everyLanguageHasEveryString_data()
{
    QTest::addColumn<QString>("language");
    const QStringList languages = QDir(admxFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(languages.size(), 13);
    for (const QString &language : languages)
        QTest::newRow(qPrintable(language)) << language;
}

void tst_Policies::everyLanguageHasEveryString()
{
    QFETCH(QString, language);
    QFile admxFile(admxFolder + "/brenvoth.admx");
    QVERIFY(admxFile.open(QIODevice::ReadOnly));
    const QString admx = QString::fromUtf8(admxFile.readAll());
    const QDomDocument adml = readXml(admxFolder + "/" + language + "/brenvoth.adml");
    QVERIFY2(!adml.isNull(), "the .adml is not well-formed");

    QSet<QString> strings;
    for (const QDomElement &string : elements(adml.documentElement(), "string")) {
        QVERIFY2(!string.text().trimmed().isEmpty(), qPrintable("empty: " + string.attribute("id")));
        strings.insert(string.attribute("id"));
    }
    QHash<QString, QDomElement> presentations;
    for (const QDomElement &presentation : elements(adml.documentElement(), "presentation"))
        presentations.insert(presentation.attribute("id"), presentation);
    QSet<QString> used;
    QRegularExpressionMatchIterator reference = QRegularExpression("\\$\\((string|presentation)\\.([^)]+)\\)").globalMatch(admx);
    while (reference.hasNext()) {
        const QRegularExpressionMatch match = reference.next();
        const bool isString = match.captured(1) == "string";
        QVERIFY2(isString ? strings.contains(match.captured(2)) : presentations.contains(match.captured(2)),
                 qPrintable("missing: " + match.captured(0)));
        if (isString)
            used.insert(match.captured(2));
    }
    QCOMPARE(strings, used);
    // Each box of a presentation shows an element the template sets.
    for (const QDomElement &presentation : qAsConst(presentations)) {
        QDomElement box = presentation.firstChildElement();
        for (; !box.isNull(); box = box.nextSiblingElement())
            QVERIFY2(admx.contains(QString("id=\"%1\"").arg(box.attribute("refId"))),
                     qPrintable("no element " + box.attribute("refId")));
    }
}

QTEST_GUILESS_MAIN(tst_Policies)
#include "tst_policies.moc"
