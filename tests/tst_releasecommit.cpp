#include "failedrelease.h"
#include "keptrelease.h"
#include "releasecommit.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>

namespace {

using Snapshot = QMap<QString, QByteArray>;
using Action = ReleaseCommit::StepAction;

const QVector<ReleaseCommit::File> files{{"", "a.dll"}, {"plugins/", "b.dll"}, {"new/deeper/", "c.dll"}};

// Steps of committing these files: flush, journal, two folders, a.dll aside
// and in, b.dll aside and in, c.dll in, the manifest.
constexpr int stepCount = 10;
constexpr int journalStep = 1;

// Release 1 installed, release 2 staged in download/.
class Release
{
public:
    Release()
    {
        writeFile(app.filePath("version.xml"), "manifest 1");
        writeFile(app.filePath("a.dll"), "a 1");
        writeFile(app.filePath("plugins/b.dll"), "b 1");
        oldRelease = snapshot(app.path());
        for (const ReleaseCommit::File &file : files)
            writeFile(app.filePath("download/" + file.dir + file.name), file.name.toUtf8() + " 2");
        newRelease = oldRelease;
        newRelease.insert("version.xml", "manifest 2");
        newRelease.insert("a.dll", "a.dll 2");
        newRelease.insert("plugins/b.dll", "b.dll 2");
        newRelease.insert("new", "<folder>");
        newRelease.insert("new/deeper", "<folder>");
        newRelease.insert("new/deeper/c.dll", "c.dll 2");
    }

    /// \a action at \a atStep, after another program held its file for
    /// \a holds attempts.
    bool commit(Action action = Action::Continue, int atStep = -1, int holds = 0)
    {
        ReleaseCommit commit{ApplicationLayout(app.path())};
        int held = 0;
        commit.setStepHook([=, &held](int step) {
            return step != atStep ? Action::Continue : held++ < holds ? Action::Hold : action;
        });
        return commit.commit("2", files, "manifest 2");
    }

    QTemporaryDir app;
    Snapshot oldRelease;
    Snapshot newRelease;
};

} // namespace

class tst_ReleaseCommit : public QObject
{
    Q_OBJECT

private slots:
    void wholeCommit();
    void failedStepPutsEverythingBack_data();
    void failedStepPutsEverythingBack();
    void recoveryAfterAStopLeavesOneRelease_data();
    void recoveryAfterAStopLeavesOneRelease();
    void unfinishedRollBackIsFinishedAtTheNextStart();
    void heldFileIsWaitedFor_data();
    void heldFileIsWaitedFor();
    void leftoverBackupsGoAtTheNextStart();
    void restoreStoppedAnywhereLeavesOneRelease_data();
    void restoreStoppedAnywhereLeavesOneRelease();
};

void tst_ReleaseCommit::wholeCommit()
{
    Release release;
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser
                             | QFile::WriteUser | QFile::ExeUser | QFile::ReadGroup | QFile::ExeGroup;
    QVERIFY(QFile::setPermissions(release.app.filePath("a.dll"), permissions));
    QVERIFY(release.commit());
    QCOMPARE(snapshot(release.app.path()), release.newRelease);
#ifdef Q_OS_UNIX
    QCOMPARE(QFile::permissions(release.app.filePath("a.dll")), permissions);
#endif
    QVERIFY2(!QFileInfo::exists(release.app.filePath("download")), "the download directory is left");
    QCOMPARE(ReleaseCommit(ApplicationLayout(release.app.path())).recover(), QString());
}

void tst_ReleaseCommit::failedStepPutsEverythingBack_data()
{
    QTest::addColumn<int>("step");
    for (int step = 0; step < stepCount; ++step)
        QTest::addRow("step %d fails", step) << step;
}

// The staged files stay for the next attempt; only the journal goes.
void tst_ReleaseCommit::failedStepPutsEverythingBack()
{
    QFETCH(int, step);
    Release release;
    QVERIFY2(!release.commit(Action::Fail, step), "a failed step counted as success");
    QCOMPARE(snapshot(release.app.path()), release.oldRelease);
    for (const ReleaseCommit::File &file : files)
        QCOMPARE(contentOf(release.app.filePath("download/" + file.dir + file.name)), file.name.toUtf8() + " 2");
    QVERIFY2(!QFileInfo::exists(release.app.filePath("download/.updater/journal")), "the journal is left");
    QCOMPARE(ReleaseCommit(ApplicationLayout(release.app.path())).recover(), QString());
}

void tst_ReleaseCommit::recoveryAfterAStopLeavesOneRelease_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("stagedFileLost");
    QTest::addColumn<bool>("expectNewRelease");
    QTest::addColumn<int>("holds");
    for (int step = 0; step < stepCount; ++step)
        QTest::addRow("stopped before step %d", step) << step << false << (step > journalStep) << 0;
    // Each move: a.dll aside and in, b.dll aside and in, c.dll in.
    for (int step : {4, 5, 6, 7, 8})
        QTest::addRow("stopped while step %d waits for a held file", step) << step << false << true << 2;
    // b.dll's staged copy is lost before it was moved: the release cannot be completed.
    for (int step : {journalStep + 1, 5, 6})
        QTest::addRow("stopped before step %d, a staged file lost", step) << step << true << false << 0;
}

// As after a kill or a power cut: the next start finishes or undoes the commit.
void tst_ReleaseCommit::recoveryAfterAStopLeavesOneRelease()
{
    QFETCH(int, step);
    QFETCH(bool, stagedFileLost);
    QFETCH(bool, expectNewRelease);
    QFETCH(int, holds);
    Release release;
    QVERIFY(!release.commit(Action::Stop, step, holds));
    if (stagedFileLost)
        QVERIFY(QFile::remove(release.app.filePath("download/plugins/b.dll")));

    const QString done = ReleaseCommit(ApplicationLayout(release.app.path())).recover();

    QCOMPARE(snapshot(release.app.path()), expectNewRelease ? release.newRelease : release.oldRelease);
    QVERIFY2(!QFileInfo::exists(release.app.filePath("download/.updater/journal")), "the journal is left");
    QCOMPARE(done.isEmpty(), step <= journalStep);
    QCOMPARE(ReleaseCommit(ApplicationLayout(release.app.path())).recover(), QString());
}

// The manifest cannot be written, and a file then stands where c.dll's folder
// would go back to: the journal stays, and the next start finishes the work.
void tst_ReleaseCommit::unfinishedRollBackIsFinishedAtTheNextStart()
{
    Release release;
    const QString blocker = release.app.filePath("download/new");
    ReleaseCommit commit{ApplicationLayout(release.app.path())};
    commit.setStepHook([&](int step) {
        if (step != stepCount - 1)
            return Action::Continue;
        QDir(blocker).removeRecursively();
        writeFile(blocker, "in the way");
        return Action::Fail;
    });
    QVERIFY(!commit.commit("2", files, "manifest 2"));
    QVERIFY2(commit.isUnfinished(), "a roll-back that could not finish counted as done");
    QVERIFY(QFileInfo::exists(release.app.filePath("download/.updater/journal")));

    QVERIFY(QFile::remove(blocker));
    QVERIFY(!ReleaseCommit(ApplicationLayout(release.app.path())).recover().isEmpty());
    QCOMPARE(snapshot(release.app.path()), release.newRelease);
}

void tst_ReleaseCommit::heldFileIsWaitedFor_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("holds");   // -1: past the limit
    QTest::addColumn<QString>("shownFile");

    QTest::newRow("an installed file let go after three attempts") << 4 << 3 << "a.dll";
    QTest::newRow("a staged file let go on its way in") << 7 << 5 << "plugins/b.dll";
    QTest::newRow("held past the limit") << 6 << -1 << "plugins/b.dll";
}

// The wait names the installed file and ends before the commit goes on;
// past the limit the old release stays whole. The commit runs on a worker
// thread, as an update runs it.
void tst_ReleaseCommit::heldFileIsWaitedFor()
{
    QFETCH(int, step);
    QFETCH(int, holds);
    QFETCH(QString, shownFile);
    Release release;
    ReleaseCommit commit{ApplicationLayout(release.app.path())};
    int attempts = 0;
    commit.setStepHook([&](int at) {
        return at == step && (holds < 0 || attempts++ < holds) ? Action::Hold : Action::Continue;
    });
    commit.setHeldFileLimit(holds < 0 ? 300 : ReleaseCommit::defaultHeldFileLimit);
    QStringList reports;
    commit.setWaitReport([&](const QString &file, const QString &program) {
        reports << file + '|' + program;
    });

    const bool committed = QtConcurrent::run([&] { return commit.commit("2", files, "manifest 2"); }).result();

    QCOMPARE(reports, QStringList({shownFile + '|', "|"}));
    if (holds >= 0) {
        QVERIFY2(committed, qPrintable(commit.errorString()));
        QCOMPARE(attempts, holds + 1);
        QCOMPARE(snapshot(release.app.path()), release.newRelease);
        return;
    }
    QVERIFY2(!committed, "a file held past the limit counted as installed");
    QVERIFY(commit.wasBlockedByHolder());
    QCOMPARE(commit.blockedFile(), release.app.filePath(shownFile));
    QVERIFY2(commit.errorString().contains("(error 32)"), qPrintable(commit.errorString()));
    QCOMPARE(snapshot(release.app.path()), release.oldRelease);
    QCOMPARE(ReleaseCommit(ApplicationLayout(release.app.path())).recover(), QString());
}

void tst_ReleaseCommit::leftoverBackupsGoAtTheNextStart()
{
    Release release;
    QVERIFY(writeFile(release.app.filePath("download/.updater/backup/plugins/b.dll"), "b 0"));
    QVERIFY(!ReleaseCommit(ApplicationLayout(release.app.path())).recover().isEmpty());
    QVERIFY(!QFileInfo::exists(release.app.filePath("download/.updater/backup")));
    QCOMPARE(snapshot(release.app.path()), release.oldRelease);
}

void tst_ReleaseCommit::restoreStoppedAnywhereLeavesOneRelease_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("recordedFailed");   // the new release, as after its failed trial
    QTest::newRow("not stopped") << -1 << false;
    // Flush, journal, a.dll aside and in, b.dll aside and in, c.dll aside, the manifest.
    for (int step = 0; step < 8; ++step)
        QTest::addRow("stopped before step %d", step) << step << false;
    QTest::newRow("stopped before its journal, the new release recorded as failed") << journalStep << true;
}

// The kept release goes back as a commit does: a restore stopped at any
// step, as by a power cut, ends in one release at the next start, and the
// new release's own files and folders go with it.
void tst_ReleaseCommit::restoreStoppedAnywhereLeavesOneRelease()
{
    QFETCH(int, step);
    QFETCH(bool, recordedFailed);
    Release release;
    const ApplicationLayout layout(release.app.path());
    ReleaseCommit commit(layout);
    commit.setKeepPrevious(true);
    const QByteArray newManifest = "<filelist curVersion=\"2\"/>";
    QVERIFY(commit.commit("2", files, newManifest));
    release.newRelease.insert("version.xml", newManifest);
    if (recordedFailed)
        QVERIFY(FailedRelease::record(layout, "2"));
    QVERIFY2(KeptRelease(layout).exists(), "the replaced release is not kept");

    KeptRelease kept(layout);
    kept.setStepHook([step](int at) { return at == step ? Action::Stop : Action::Continue; });
    QCOMPARE(kept.restore(), step < 0);
    KeptRelease(layout).recover();

    const bool stoppedBeforeJournal = step >= 0 && step <= journalStep && !recordedFailed;
    Snapshot installed = snapshot(release.app.path());
    for (const QString &own : installed.keys()) {
        if (own.startsWith(".updater"))
            installed.remove(own);
    }
    QCOMPARE(installed, stoppedBeforeJournal ? release.newRelease : release.oldRelease);
    QCOMPARE(KeptRelease(layout).exists(), stoppedBeforeJournal);
}

QTEST_GUILESS_MAIN(tst_ReleaseCommit)
#include "tst_releasecommit.moc"
