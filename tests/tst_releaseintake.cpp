#include "applyrequest.h"
#include "failedrelease.h"
#include "keptrelease.h"
#include "minisignkeys.h"
#include "releasecommit.h"
#include "folderlock.h"
#include "releaseapplication.h"
#include "releaseintake.h"
#include "testfiles.h"
#include "testwaits.h"

#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

const QByteArray oldManifest = "<filelist curVersion=\"1.0.0\" published=\"1767225600\">"
                               "<software version=\"1.0.0\"><file name=\"core.dll\" dir=\"\" version=\"1\"/>"
                               "</software></filelist>";

QByteArray entry(const QString &dir, const QString &name, const QByteArray &content)
{
    return "<file name=\"" + name.toUtf8() + "\" dir=\"" + dir.toUtf8() + "\" version=\"2\" size=\""
           + QByteArray::number(content.size()) + "\" sha256=\""
           + QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex() + "\"/>";
}

// Release 1.0.0 installed; the user's download folder holds 2.0.0, signed.
struct Setup
{
    QTemporaryDir root;
    QDir app{root.filePath("app")};
    QDir staged{root.filePath("staged")};
    QString protectedDir = root.filePath("protected");
    MinisignKey key;

    bool make(const QByteArray &published = "1769904000", const QString &coreDir = QString())
    {
        if (key.publicKey.isEmpty())
            key = makeMinisignKey(root.path(), "publisher");
        const QByteArray manifest = "<filelist curVersion=\"2.0.0\" published=\"" + published + "\">"
                                    "<software version=\"2.0.0\">" + entry(coreDir, "core.dll", "core 2")
                                    + entry("plugins/", "render.dll", "render 2") + "</software></filelist>";
        return !key.publicKey.isEmpty() && writeFile(app.filePath("version.xml"), oldManifest)
               && writeFile(app.filePath("core.dll"), "core 1")
               && writeFile(staged.filePath(coreDir + "core.dll"), "core 2")
               && writeFile(staged.filePath("plugins/render.dll"), "render 2") && sign(manifest);
    }
    bool sign(const QByteArray &manifest)
    {
        return writeFile(staged.filePath("version.xml"), manifest)
               && writeFile(staged.filePath("version.xml.minisig"), minisignSignature(key, manifest, root.path()));
    }
    ApplicationLayout target() const { return ApplicationLayout::appliedFrom(app.path(), protectedDir); }
    ReleaseApplication application() const { return ReleaseApplication(app.path(), protectedDir, key.publicKey); }
    bool isAtRelease2() const
    {
        return contentOf(app.filePath("core.dll")) == "core 2" && contentOf(app.filePath("plugins/render.dll")) == "render 2"
               && contentOf(app.filePath("version.xml")).contains("curVersion=\"2.0.0\"");
    }
};

using Spoil = std::function<bool(Setup &)>;

bool linkTo(const QString &target, const QString &link)
{
    QFile::remove(link);
#ifdef Q_OS_WIN
    Q_UNUSED(target);
    return false;
#else
    return symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
#endif
}

} // namespace

Q_DECLARE_METATYPE(Spoil)

class tst_ReleaseIntake : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wholeReleaseIsCommitted();
    void appliedWhole();
    void oneRequestAtATime();
    void keptForItsTrialKeyOnly_data();
    void keptForItsTrialKeyOnly();
    void interruptedCommitFinishedFirst();
    void refused_data();
    void refused();
};

void tst_ReleaseIntake::initTestCase()
{
    if (!minisignInstalled())
        SKIP_WHERE_MISSING("the minisign command is not installed");
}

// The copies, not the user's files, are what the commit puts in place.
void tst_ReleaseIntake::wholeReleaseIsCommitted()
{
    Setup setup;
    QVERIFY(setup.make());
    ReleasePlan plan;
    UpdateError error;
    QVERIFY2(ReleaseIntake(setup.staged.path(), setup.target(), setup.key.publicKey).take(&plan, &error),
             qPrintable(error.technical));
    QCOMPARE(plan.version, QString("2.0.0"));
    QVERIFY(writeFile(setup.staged.filePath("core.dll"), "core X"));   // too late to matter
    QVector<ReleaseCommit::File> files;
    for (const PendingFile &file : plan.files)
        files.append({file.dir, file.name});
    ReleaseCommit commit(setup.target());
    QVERIFY2(commit.commit(plan.version, files, plan.localManifest), qPrintable(commit.errorString()));
    QVERIFY(setup.isAtRelease2());
}

void tst_ReleaseIntake::appliedWhole()
{
    Setup setup;
    QVERIFY(setup.make());
    const UpdateError error = setup.application().apply(setup.staged.path());
    QVERIFY2(!error.failed(), qPrintable(error.technical));
    QVERIFY(setup.isAtRelease2());
    QVERIFY2(QDir(setup.protectedDir).isEmpty(), "the copies or the lock stayed behind");
}

void tst_ReleaseIntake::oneRequestAtATime()
{
    Setup setup;
    QVERIFY(setup.make());
    QVERIFY(QDir().mkpath(setup.protectedDir));
    FolderLock other(setup.protectedDir + "/" + ReleaseApplication::lockName());
    QCOMPARE(other.tryLock(), FolderLock::Result::Taken);
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    const UpdateError error = setup.application().apply(setup.staged.path());
    QCOMPARE(error.kind, UpdateError::Kind::NotInstalled);
    QVERIFY2(error.technical.contains("another release"), qPrintable(error.technical));
    QCOMPARE(snapshot(setup.app.path()), before);
}

void tst_ReleaseIntake::keptForItsTrialKeyOnly_data()
{
    QTest::addColumn<bool>("appliedWithKey");
    QTest::addColumn<bool>("askedWithThatKey");
    QTest::addColumn<bool>("restore");   // else a passed trial: drop
    QTest::addColumn<bool>("done");

    QTest::newRow("a failed trial, its key") << true << true << true << true;
    QTest::newRow("a failed trial, another key") << true << false << true << false;
    QTest::newRow("a passed trial, its key") << true << true << false << true;
    QTest::newRow("a passed trial, another key") << true << false << false << false;
    QTest::newRow("applied without a key") << false << false << true << false;
}

// Anyone may ask the applying side; only the updater that asked for the
// update may have it taken back.
void tst_ReleaseIntake::keptForItsTrialKeyOnly()
{
    QFETCH(bool, appliedWithKey);
    QFETCH(bool, askedWithThatKey);
    QFETCH(bool, restore);
    QFETCH(bool, done);
    Setup setup;
    QVERIFY(setup.make());
    const QMap<QString, QByteArray> release1 = snapshot(setup.app.path());
    const QByteArray key = ApplyRequest::newToken();
    UpdateError error = setup.application().apply(setup.staged.path(), appliedWithKey ? key : QByteArray());
    QVERIFY2(!error.failed(), qPrintable(error.technical));
    QCOMPARE(KeptRelease(setup.target()).exists(), appliedWithKey);

    const QByteArray asked = askedWithThatKey ? key : ApplyRequest::newToken();
    error = restore ? setup.application().restorePrevious(asked) : setup.application().dropPrevious(asked);
    QVERIFY2(error.failed() != done, qPrintable(error.technical));
    QCOMPARE(KeptRelease(setup.target()).exists(), appliedWithKey && !done);
    const bool restored = done && restore;
    QVERIFY2(restored ? snapshot(setup.app.path()) == release1 : setup.isAtRelease2(), "not the release expected");
    QCOMPARE(FailedRelease::isRecorded(setup.target(), "2.0.0"), restored);
}

// A commit cut short (a kill, a power cut) is finished before anything else.
void tst_ReleaseIntake::interruptedCommitFinishedFirst()
{
    Setup setup;
    QVERIFY(setup.make());
    ReleasePlan plan;
    UpdateError error;
    QVERIFY2(ReleaseIntake(setup.staged.path(), setup.target(), setup.key.publicKey).take(&plan, &error),
             qPrintable(error.technical));
    ReleaseCommit cut(setup.target());
    cut.setStepHook([](int step) { return step == 3 ? ReleaseCommit::StepAction::Stop : ReleaseCommit::StepAction::Continue; });
    QVERIFY(!cut.commit(plan.version, {{"", "core.dll"}, {"plugins/", "render.dll"}}, plan.localManifest));
    QVERIFY(!setup.isAtRelease2());
    ReleaseApplication application = setup.application();
    error = application.apply(setup.staged.path());
    QVERIFY2(!application.recovered().isEmpty(), "nothing was recovered");
    QVERIFY(setup.isAtRelease2());
    QVERIFY2(error.technical.contains("no file of release 2.0.0 differs"), qPrintable(error.technical));
}

void tst_ReleaseIntake::refused_data()
{
    QTest::addColumn<Spoil>("spoil");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("named");   // in the technical line

    const int notVerified = int(UpdateError::Kind::NotVerified);
    QTest::newRow("a file changed after the download")
        << Spoil([](Setup &s) { return writeFile(s.staged.filePath("core.dll"), "core X"); }) << notVerified
        << "core.dll differs from the signed manifest";
    QTest::newRow("a file longer than signed")
        << Spoil([](Setup &s) { return writeFile(s.staged.filePath("plugins/render.dll"), "render 2 and more"); })
        << notVerified << "plugins/render.dll is larger than it may be";
    QTest::newRow("a file missing")
        << Spoil([](Setup &s) { return QFile::remove(s.staged.filePath("core.dll")); }) << notVerified
        << "core.dll";
    QTest::newRow("the manifest changed after it was signed")
        << Spoil([](Setup &s) {
               QByteArray manifest = contentOf(s.staged.filePath("version.xml"));
               return writeFile(s.staged.filePath("version.xml"), manifest.replace("version=\"2\" size", "version=\"3\" size"));
           })
        << notVerified << "signature";
    QTest::newRow("no signature")
        << Spoil([](Setup &s) { return QFile::remove(s.staged.filePath("version.xml.minisig")); }) << notVerified
        << "version.xml.minisig";
    QTest::newRow("no key built in") << Spoil([](Setup &s) {
        s.key.publicKey.clear();
        return true;
    }) << notVerified << "no publisher's key";
    QTest::newRow("an older release, signed")
        << Spoil([](Setup &s) { return s.make("1764547200"); }) << int(UpdateError::Kind::Older)
        << "published on 2025-12-01";
    QTest::newRow("an entry leading out of the application folder, signed")
        << Spoil([](Setup &s) { return s.make("1769904000", "../"); })
        << int(UpdateError::Kind::NotInstalled) << "core.dll";
#ifndef Q_OS_WIN
    QTest::newRow("a file that is a link to another file")
        << Spoil([](Setup &s) {
               return writeFile(s.root.filePath("elsewhere.dll"), "core 2")
                      && linkTo(s.root.filePath("elsewhere.dll"), s.staged.filePath("core.dll"));
           })
        << notVerified << "core.dll: a link";
    QTest::newRow("a folder that is a link to another folder")
        << Spoil([](Setup &s) {
               return writeFile(s.root.filePath("elsewhere/render.dll"), "render 2")
                      && QDir(s.staged.filePath("plugins")).removeRecursively()
                      && linkTo(s.root.filePath("elsewhere"), s.staged.filePath("plugins"));
           })
        << notVerified << "plugins: a link";
    QTest::newRow("a file with a second name")
        << Spoil([](Setup &s) {
               return ::link(QFile::encodeName(s.staged.filePath("core.dll")).constData(),
                           QFile::encodeName(s.root.filePath("second-name.dll")).constData())
                      == 0;
           })
        << notVerified << "hard link";
#endif
}

// Whatever is wrong, the application folder stays as it was.
void tst_ReleaseIntake::refused()
{
    QFETCH(Spoil, spoil);
    QFETCH(int, kind);
    QFETCH(QString, named);
    Setup setup;
    QVERIFY(setup.make());
    QVERIFY(spoil(setup));
    const QMap<QString, QByteArray> before = snapshot(setup.app.path());
    ReleasePlan plan;
    UpdateError error;
    QVERIFY(!ReleaseIntake(setup.staged.path(), setup.target(), setup.key.publicKey).take(&plan, &error));
    QCOMPARE(int(error.kind), kind);
    QVERIFY2(error.technical.contains(named), qPrintable(error.technical));
    QCOMPARE(snapshot(setup.app.path()), before);
}

QTEST_GUILESS_MAIN(tst_ReleaseIntake)
#include "tst_releaseintake.moc"
