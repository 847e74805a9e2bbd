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

} // namespace

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

    const QByteArray path = staged.toUtf8();
    QTest::newRow("the staged folder") << request(path) << "";
    QTest::newRow("written back as read") << ApplyRequest{staged, ApplyRequest::newNonce()}.toBytes() << "";
    QTest::newRow("a step up") << request(path + "/../../../Windows") << "\"..\" step";
    QTest::newRow("a step that stays") << request(path + "/./x") << "\"..\" step";
    QTest::newRow("an empty step") << request(path + "//x") << "\"..\" step";
    QTest::newRow("a UNC path") << request("\\\\server\\share\\Brenvoth\\download") << "absolute path on a local drive";
    QTest::newRow("a UNC path with slashes") << request("//server/share/Brenvoth/download") << "absolute path on a local drive";
    QTest::newRow("a device path") << request("\\\\?\\C:\\Users\\ann") << "absolute path on a local drive";
    QTest::newRow("a relative path") << request("Brenvoth/download") << "absolute path on a local drive";
    QTest::newRow("an over-long path") << request(path + '/' + QByteArray(1100, 'a')) << "longer than 1024";
    QTest::newRow("an over-long request") << request(path + '/' + QByteArray(5000, 'a')) << "not a request";
    const QByteArray nonce = "nonce 0123456789abcdef0123456789abcdef\n";
    QTest::newRow("the updater's nonce") << request(path) + nonce << "";
    QTest::newRow("a second staged line") << request(path + "\nstaged " + path) << "more than a staged folder";
    QTest::newRow("a short nonce") << request(path) + "nonce 0123\n" << "more than a staged folder";
    QTest::newRow("a nonce in capitals") << request(path) + nonce.toUpper().replace("NONCE", "nonce")
                                         << "more than a staged folder";
    QTest::newRow("a line after the nonce") << request(path) + nonce + "staged C:\\\n" << "more than a staged folder";
    QTest::newRow("a NUL in the path") << request(path + QByteArray("\0x", 2)) << "control character";
    QTest::newRow("a stream") << request(path + ":hidden") << ": * ?";
    QTest::newRow("a wildcard") << request(path + "/*") << ": * ?";
    QTest::newRow("not UTF-8") << request(path + "/\xff") << "UTF-8";
    QTest::newRow("no staged folder") << QByteArray("brenvoth-apply 1\n") << "no staged folder";
    QTest::newRow("another key") << QByteArray("brenvoth-apply 1\ntarget " + path + '\n') << "no staged folder";
    QTest::newRow("another version") << QByteArray("brenvoth-apply 2\nstaged " + path + '\n') << "not a request";
    QTest::newRow("no end of line") << QByteArray("brenvoth-apply 1\nstaged " + path) << "not a request";
    QTest::newRow("empty") << QByteArray() << "not a request";
}

// The applying side runs with more rights than whoever wrote the request.
void tst_ApplyRequest::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, refusal);
    ApplyRequest parsed;
    QString reason;
    const bool accepted = ApplyRequest::parse(bytes, &parsed, &reason);
    if (refusal.isEmpty()) {
        QVERIFY2(accepted, qPrintable(reason));
        QCOMPARE(parsed.stagedDir, staged);
        return;
    }
    QVERIFY2(!accepted, qPrintable("accepted " + parsed.stagedDir));
    QVERIFY2(reason.contains(refusal), qPrintable(reason));
}

void tst_ApplyRequest::namesOnlyTheAskingUsersFolder()
{
    QVERIFY((ApplyRequest{staged, {}}.names(staged)));
    QVERIFY((ApplyRequest{staged.toUpper(), {}}.names(staged)));
    QVERIFY((!ApplyRequest{otherUser, {}}.names(staged)));
    QVERIFY((!ApplyRequest{staged + "/x", {}}.names(staged)));
}

QTEST_GUILESS_MAIN(tst_ApplyRequest)
#include "tst_applyrequest.moc"
