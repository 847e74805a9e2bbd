#include "applyrequest.h"

#include <QtTest>

namespace {

#ifdef Q_OS_WIN
const QString staged = QStringLiteral("C:\\Users\\ann\\AppData\\Local\\Brenvoth\\download");
const QString otherUser = QStringLiteral("C:\\Users\\bob\\AppData\\Local\\Brenvoth\\download");
#else
const QString staged = QStringLiteral("/home/ann/.local/share/Brenvoth/download");
const QString otherUser = QStringLiteral("/home/bob/.local/share/Brenvoth/download");
#endif

QByteArray request(const QByteArray &path)
{
    return "brenvoth-apply 1\nstaged " + path + '\n';
}

ApplyRequest asked(ApplyRequest::Kind kind, const QString &stagedDir, const QByteArray &trialKey)
{
    ApplyRequest request;
    request.kind = kind;
    request.stagedDir = stagedDir;
    request.nonce = ApplyRequest::newToken();
    request.trialKey = trialKey;
    return request;
}

} // namespace

Q_DECLARE_METATYPE(ApplyRequest::Kind)

class tst_ApplyRequest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void namesOnlyTheAskingUsersFolder();
};

void tst_ApplyRequest::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("refusal");   // empty: accepted
    QTest::addColumn<ApplyRequest::Kind>("kind");

    using Kind = ApplyRequest::Kind;
    const QByteArray path = staged.toUtf8();
    const QByteArray key = ApplyRequest::newToken();
    QTest::newRow("the staged folder") << request(path) << "" << Kind::Apply;
    QTest::newRow("written back as read") << asked(Kind::Apply, staged, {}).toBytes() << "" << Kind::Apply;
    QTest::newRow("with a trial key, written back as read") << asked(Kind::Apply, staged, key).toBytes() << "" << Kind::Apply;
    QTest::newRow("a restore, written back as read") << asked(Kind::Restore, {}, key).toBytes() << "" << Kind::Restore;
    QTest::newRow("a passed trial, written back as read") << asked(Kind::Passed, {}, key).toBytes() << "" << Kind::Passed;
    QTest::newRow("a restore without its key") << asked(Kind::Restore, {}, {}).toBytes() << "no trial key" << Kind::Restore;
    QTest::newRow("a passed trial without its key")
        << QByteArray("brenvoth-apply 1\npassed\n") << "no trial key" << Kind::Passed;
    QTest::newRow("a restore naming a folder")
        << QByteArray("brenvoth-apply 1\nrestore " + path + "\nkey " + key + '\n') << "no staged folder" << Kind::Restore;
    QTest::newRow("the key before the nonce")
        << QByteArray("brenvoth-apply 1\nrestore\nkey " + key + "\nnonce " + key + '\n') << "more than what it asks"
        << Kind::Restore;
    QTest::newRow("two actions")
        << QByteArray(request(path) + "restore\nkey " + key + '\n') << "more than what it asks" << Kind::Restore;
    QTest::newRow("a step up") << request(path + "/../../../Windows") << "\"..\" step" << Kind::Apply;
    QTest::newRow("a step that stays") << request(path + "/./x") << "\"..\" step" << Kind::Apply;
    QTest::newRow("an empty step") << request(path + "//x") << "\"..\" step" << Kind::Apply;
    QTest::newRow("a UNC path") << request("\\\\server\\share\\Brenvoth\\download") << "absolute path on a local drive" << Kind::Apply;
    QTest::newRow("a UNC path with slashes") << request("//server/share/Brenvoth/download") << "absolute path on a local drive" << Kind::Apply;
    QTest::newRow("a device path") << request("\\\\?\\C:\\Users\\ann") << "absolute path on a local drive" << Kind::Apply;
    QTest::newRow("a relative path") << request("Brenvoth/download") << "absolute path on a local drive" << Kind::Apply;
    QTest::newRow("an over-long path") << request(path + '/' + QByteArray(1100, 'a')) << "longer than 1024" << Kind::Apply;
    QTest::newRow("an over-long request") << request(path + '/' + QByteArray(5000, 'a')) << "not a request" << Kind::Apply;
    const QByteArray nonce = "nonce 0123456789abcdef0123456789abcdef\n";
    QTest::newRow("the updater's nonce") << request(path) + nonce << "" << Kind::Apply;
    QTest::newRow("a second staged line") << request(path + "\nstaged " + path) << "more than what it asks" << Kind::Apply;
    QTest::newRow("a short nonce") << request(path) + "nonce 0123\n" << "more than what it asks" << Kind::Apply;
    QTest::newRow("a nonce in capitals") << request(path) + nonce.toUpper().replace("NONCE", "nonce")
                                         << "more than what it asks" << Kind::Apply;
    QTest::newRow("a line after the nonce") << request(path) + nonce + "staged C:\\\n" << "more than what it asks" << Kind::Apply;
    QTest::newRow("a NUL in the path") << request(path + QByteArray("\0x", 2)) << "control character" << Kind::Apply;
    QTest::newRow("a stream") << request(path + ":hidden") << ": * ?" << Kind::Apply;
    QTest::newRow("a wildcard") << request(path + "/*") << ": * ?" << Kind::Apply;
    QTest::newRow("not UTF-8") << request(path + "/\xff") << "UTF-8" << Kind::Apply;
    QTest::newRow("no staged folder") << QByteArray("brenvoth-apply 1\n") << "no staged folder" << Kind::Apply;
    QTest::newRow("another key") << QByteArray("brenvoth-apply 1\ntarget " + path + '\n') << "no staged folder" << Kind::Apply;
    QTest::newRow("another version") << QByteArray("brenvoth-apply 2\nstaged " + path + '\n') << "not a request" << Kind::Apply;
    QTest::newRow("no end of line") << QByteArray("brenvoth-apply 1\nstaged " + path) << "not a request" << Kind::Apply;
    QTest::newRow("empty") << QByteArray() << "not a request" << Kind::Apply;
}

// The applying side runs with more rights than whoever wrote the request.
void tst_ApplyRequest::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, refusal);
    QFETCH(ApplyRequest::Kind, kind);
    ApplyRequest parsed;
    QString reason;
    const bool accepted = ApplyRequest::parse(bytes, &parsed, &reason);
    if (refusal.isEmpty()) {
        QVERIFY2(accepted, qPrintable(reason));
        QCOMPARE(parsed.kind, kind);
        QCOMPARE(parsed.stagedDir, kind == ApplyRequest::Kind::Apply ? staged : QString());
        QCOMPARE(parsed.toBytes(), bytes);
        return;
    }
    QVERIFY2(!accepted, qPrintable("accepted " + parsed.stagedDir));
    QVERIFY2(reason.contains(refusal), qPrintable(reason));
}

void tst_ApplyRequest::namesOnlyTheAskingUsersFolder()
{
    using Kind = ApplyRequest::Kind;
    QVERIFY(asked(Kind::Apply, staged, {}).names(staged));
    QVERIFY(asked(Kind::Apply, staged.toUpper(), {}).names(staged));
    QVERIFY(!asked(Kind::Apply, otherUser, {}).names(staged));
    QVERIFY(!asked(Kind::Apply, staged + "/x", {}).names(staged));
}

QTEST_GUILESS_MAIN(tst_ApplyRequest)
#include "tst_applyrequest.moc"
