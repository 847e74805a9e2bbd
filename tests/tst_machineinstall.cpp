#include "applyresult.h"
#include "machineinstall.h"

#include <QtTest>

// Where the applying side takes a user's release from, and the result it
// hands back: the two things a user could try to bend.
class tst_MachineInstall : public QObject
{
    Q_OBJECT

private slots:
    void stagedDirOfProfile_data();
    void stagedDirOfProfile();
    void resultRoundTrip();
    void foreignResultRefused_data();
    void foreignResultRefused();
};

void tst_MachineInstall::stagedDirOfProfile_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("expected");
    const QString download = QStringLiteral("C:/Users/ann/AppData/Local/Brenvoth/download");
    QTest::newRow("the user's own folder") << QStringLiteral("C:\\Users\\ann\\AppData\\Local\\Brenvoth\\download")
                                           << download;
    QTest::newRow("another folder of the profile names the same one")
        << QStringLiteral("C:/Users/ann/Documents") << download;
    QTest::newRow("in any case") << QStringLiteral("c:/users/ann/appdata/local/brenvoth/download")
                                 << QStringLiteral("C:/Users/ann/AppData/Local/Brenvoth/download");
    QTest::newRow("outside the profiles") << QStringLiteral("C:/Windows/Temp") << QString();
    QTest::newRow("a folder beside the profiles") << QStringLiteral("C:/UsersX/ann/download") << QString();
    QTest::newRow("the profiles folder itself") << QStringLiteral("C:/Users") << QString();
    QTest::newRow("a step up") << QStringLiteral("C:/Users/../Windows") << QString();
}

void tst_MachineInstall::stagedDirOfProfile()
{
    QFETCH(QString, requested);
    QFETCH(QString, expected);
    const QString found = MachineInstall::stagedDirOfProfile(QStringLiteral("C:/Users"), requested);
    QVERIFY2(found.compare(expected, Qt::CaseInsensitive) == 0, qPrintable(found));
}

void tst_MachineInstall::resultRoundTrip()
{
    const UpdateError sent(UpdateError::Kind::Unfinished, FailureCause::ofHeldFile(QStringLiteral("core.dll"),
                                                                                   QStringLiteral("Scan.exe")),
                           QStringLiteral("core.dll held"), QStringLiteral("detail"));
    UpdateError read;
    QByteArray nonce;
    QVERIFY(ApplyResult::parse(ApplyResult::toBytes(sent, "0123abcd"), &read, &nonce));
    QCOMPARE(nonce, QByteArray("0123abcd"));
    QCOMPARE(read.kind, sent.kind);
    QCOMPARE(read.cause.plainWords(), sent.cause.plainWords());
    QCOMPARE(read.technical, sent.technical);
    QCOMPARE(read.detail, sent.detail);
}

void tst_MachineInstall::foreignResultRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray whole = ApplyResult::toBytes(UpdateError(), QByteArray());
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("another header") << QByteArray("brenvoth-applied 2\n") + whole.mid(19);
    QTest::newRow("cut short") << whole.left(whole.size() - 1);
    QTest::newRow("more behind it") << whole + "x";
    QByteArray unknownKind = whole;
    unknownKind[26] = char(99);   // after the header and an empty nonce
    QTest::newRow("an unknown kind") << unknownKind;
}

void tst_MachineInstall::foreignResultRefused()
{
    QFETCH(QByteArray, bytes);
    UpdateError read;
    QByteArray nonce;
    QVERIFY(!ApplyResult::parse(bytes, &read, &nonce));
}

QTEST_GUILESS_MAIN(tst_MachineInstall)
#include "tst_machineinstall.moc"
