#include "minisign.h"
#include "minisignkeys.h"
#include "testwaits.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray manifest = "<filelist curVersion='1.1.0'><software version='1.1.0'/></filelist>\n";

// The signature file with line \a index replaced by \a line.
QByteArray withLine(const QByteArray &signature, int index, const QByteArray &line)
{
    QList<QByteArray> lines = signature.split('\n');
    lines[index] = line;
    return lines.join('\n');
}

QByteArray withoutLine(const QByteArray &signature, int index)
{
    QList<QByteArray> lines = signature.split('\n');
    lines.removeAt(index);
    return lines.join('\n');
}

// The signature line with its first bytes (algorithm, then key id) replaced.
QByteArray withSignaturePrefix(const QByteArray &signature, const QByteArray &prefix)
{
    QByteArray decoded = QByteArray::fromBase64(signature.split('\n').at(1));
    decoded.replace(0, prefix.size(), prefix);
    return withLine(signature, 1, decoded.toBase64());
}

// \a line with a byte beyond ASCII where it has a '/' (or else its eleventh
// character): old libsodium decoders read such a byte as '/'.
QByteArray withByteBeyondAscii(QByteArray line)
{
    const int at = line.indexOf('/');
    line[at >= 0 ? at : 10] = '\xc9';
    return line;
}

QByteArray algorithmOf(const QByteArray &signature)
{
    return QByteArray::fromBase64(signature.split('\n').value(1)).left(2);
}

QByteArray keyIdOf(const QByteArray &publicKey)
{
    return QByteArray::fromBase64(publicKey).mid(2, 8);
}

} // namespace

class tst_Signature : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void verify_data();
    void verify();

private:
    QTemporaryDir dir;
    MinisignKey publisher;
    MinisignKey other;
    MinisignKey spare;
};

void tst_Signature::initTestCase()
{
    if (!minisignInstalled())
        SKIP_WHERE_MISSING("the minisign command is not installed");
    QVERIFY(dir.isValid());
    publisher = makeMinisignKey(dir.path(), QStringLiteral("publisher"));
    other = makeMinisignKey(dir.path(), QStringLiteral("other"));
    spare = makeMinisignKey(dir.path(), QStringLiteral("spare"));
    QVERIFY2(!publisher.publicKey.isEmpty() && !other.publicKey.isEmpty() && !spare.publicKey.isEmpty(),
             "minisign -G -W made no key");
}

void tst_Signature::verify_data()
{
    QTest::addColumn<QByteArray>("publicKey");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<QString>("refusal"); // part of the reason; empty: the signature is good

    const QStringList comment{QStringLiteral("-t"), QStringLiteral("release 1.1.0")};
    const QByteArray prehashed = minisignSignature(publisher, manifest, dir.path(), comment);
    const QByteArray legacy = minisignSignature(publisher, manifest, dir.path(), QStringList{"-l"} + comment);
    const QByteArray byOther = minisignSignature(other, manifest, dir.path(), comment);
    QVERIFY2(!prehashed.isEmpty() && !legacy.isEmpty() && !byOther.isEmpty(), "minisign -S signed nothing");
    QVERIFY2(algorithmOf(prehashed) == "ED" && algorithmOf(legacy) == "Ed", "minisign made other algorithms");
    const QByteArray key = publisher.publicKey;

    QTest::newRow("pre-hashed signature") << key << manifest << prehashed << QString();
    QTest::newRow("legacy signature") << key << manifest << legacy << QString();
    QTest::newRow("Windows line ends") << key << manifest << QByteArray(prehashed).replace("\n", "\r\n")
        << QString();
    QTest::newRow("tampered manifest") << key << manifest + ' ' << prehashed << "does not match the signed file";
    QTest::newRow("tampered manifest, legacy") << key << manifest.left(20) << legacy
        << "does not match the signed file";
    QTest::newRow("another key") << key << manifest << byOther << "not with the publisher's key";
    QTest::newRow("another key's signature under this key's id") << key << manifest
        << withSignaturePrefix(byOther, "ED" + keyIdOf(key)) << "does not match the signed file";
    QTest::newRow("missing signature") << key << manifest << QByteArray() << "fewer than four lines";
    QTest::newRow("truncated signature") << key << manifest << prehashed.left(prehashed.size() / 2)
        << "fewer than four lines";
    QTest::newRow("truncated signature line") << key << manifest
        << withLine(prehashed, 1, prehashed.split('\n').at(1).chopped(4)) << "not base64";
    QTest::newRow("signature line not base64") << key << manifest
        << withLine(prehashed, 1, QByteArray(100, '!')) << "not base64";
    QTest::newRow("garbage") << key << manifest << QByteArray("<html>\n<body>\nNot found\n</body>\n</html>\n")
        << "untrusted comment";
    QTest::newRow("unknown algorithm") << key << manifest << withSignaturePrefix(prehashed, "EX")
        << "unknown algorithm";
    QTest::newRow("tampered trusted comment") << key << manifest
        << withLine(prehashed, 2, "trusted comment: release 9.9.9") << "trusted comment does not match";
    QTest::newRow("trusted comment line missing") << key << manifest << withoutLine(prehashed, 2)
        << "no trusted comment";
    QTest::newRow("trusted comment's signature truncated") << key << manifest
        << withLine(prehashed, 3, prehashed.split('\n').at(3).left(40)) << "not base64";
    QTest::newRow("signature line with a byte beyond ASCII") << key << manifest
        << withLine(prehashed, 1, withByteBeyondAscii(prehashed.split('\n').at(1))) << "not base64";
    QTest::newRow("trusted comment's signature with a byte beyond ASCII") << key << manifest
        << withLine(prehashed, 3, withByteBeyondAscii(prehashed.split('\n').at(3))) << "not base64";
    QTest::newRow("public key truncated") << key.left(30) << manifest << prehashed << "public key";
    QTest::newRow("second of two trusted keys") << spare.publicKey + ';' + key << manifest << prehashed
        << QString();
    QTest::newRow("first of two trusted keys, blanks around") << key + " ; " + spare.publicKey << manifest
        << legacy << QString();
    QTest::newRow("a key not in the list") << key + ';' + spare.publicKey << manifest << byOther
        << "not with the publisher's keys";
    QTest::newRow("another listed key's signature under this key's id") << key + ';' + other.publicKey
        << manifest << withSignaturePrefix(byOther, "ED" + keyIdOf(key)) << "does not match the signed file";
    QTest::newRow("a truncated key in the list") << spare.publicKey + ';' + key.left(30) << manifest << prehashed
        << "public key";
    QTest::newRow("an empty entry in the list") << key + ';' << manifest << prehashed << "public key";
    QTest::newRow("public key is a signature line") << prehashed.split('\n').at(1) << manifest << prehashed
        << "public key";
}

void tst_Signature::verify()
{
    QFETCH(QByteArray, publicKey);
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, signature);
    QFETCH(QString, refusal);
    QString reason;
    const bool verified = Minisign::verify(publicKey, message, signature, &reason);
    if (refusal.isEmpty()) {
        QVERIFY2(verified, qPrintable(QStringLiteral("a good signature was refused: ") + reason));
    } else {
        QVERIFY2(!verified, "a bad signature was accepted");
        QVERIFY2(reason.contains(refusal), qPrintable(QStringLiteral("refused for another reason: ") + reason));
        QVERIFY2(!reason.contains(QLatin1Char('\n')), "the reason is not one line");
    }
}

QTEST_MAIN(tst_Signature)
#include "tst_signature.moc"
