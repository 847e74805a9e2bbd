#include "updatewindow.h"
#include "applicationlayout.h"
#include "installation.h"
#include "manifest.h"
#include "pendingupdate.h"
#include "proxysignonform.h"
#include "updatewindowform.h"
#include "windowaccess.h"
#include "windowmover.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDomElement>
#include <QDomNodeList>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// Where the form puts the update button and the progress bar, left to right.
constexpr int updateButtonEnd = 585;
constexpr int updateButtonTop = 310;
constexpr int updateButtonWidth = 75;
constexpr int updateButtonHeight = 21;
constexpr int progressBarStart = 70;
constexpr int progressBarGap = 29;

// Versions read left to right, also after a right-to-left label.
QString isolatedVersion(const QString &version, Qt::LayoutDirection direction)
{
    if (direction == Qt::LeftToRight)
        return version;
    return QChar(0x2066) + version + QChar(0x2069);
}

// A failed update leaves the groove edged in red; the rest of the bar keeps its look.
const char *failedGroove = "\nQProgressBar:horizontal {border-color: #c0504d;}";

QString capitalized(QString text)
{
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text;
}

// The plain words first, in bold where they open the text, the technical
// detail after them in parentheses.
QString failureText(const Installation &installation)
{
    const QString plainWords = installation.cause().plainWords().toHtmlEscaped();
    const QString detail = installation.errorString().toHtmlEscaped();
    switch (installation.failure()) {
    case Installation::Failure::NotVerified:
        return UpdateWindow::tr("<b>%1.</b> Nothing was changed.").arg(capitalized(plainWords));
    case Installation::Failure::Older:
        return UpdateWindow::tr("<b>%1</b> (%2). Nothing was changed.").arg(capitalized(plainWords), detail);
    case Installation::Failure::Unfinished:
        return UpdateWindow::tr("<b>The update could not be installed:</b> %1 (%2), and not every file "
                                "could be put back yet. This is finished when the updater starts again.")
            .arg(plainWords, detail);
    default:
        return UpdateWindow::tr("<b>The update could not be installed:</b> %1 (%2). Nothing was changed; "
                                "the update will be offered again next time.").arg(plainWords, detail);
    }
}

} // namespace

UpdateWindow::UpdateWindow(const QString &applicationDir, const QString &downloadBaseUrl,
                           QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::UpdateWindow)
    , applicationDir(applicationDir)
    , downloadBaseUrl(downloadBaseUrl)
    , stallTimeout(Installation::defaultStallTimeout)
    , retryPause(Installation::defaultRetryPause)
    , lock(ApplicationLayout(applicationDir).lockFile())
{
    ui->setupUi(this);
    ui->progressBar->setTextVisible(false);
    // Without a frame the window still has the system menu, whose Move
    // Alt+Space reaches from the keyboard, and a drag of its top bar moves it.
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint);
    new WindowMover(ui->widget, this);
    WindowAccess::setUp(this, ui);
    setButtonState(ButtonState::Update);
    // Two updaters would stage into the same files and commit over each
    // other, and recovery would undo a commit that is still running.
    if (!lockApplicationDir()) {
        showAnotherUpdaterRuns();
        return;
    }
    // The files and the manifest must describe one release before they are read.
    Installation::recoverInterrupted(applicationDir);
    detectPendingUpdate();
}

UpdateWindow::~UpdateWindow()
{
    delete ui;
}

// The system lets go of the lock when its holder ends, however it ends: a
// lock file left by a killed updater, or by a power cut, is simply taken.
// A folder where no lock can be made cannot be changed by another updater
// either: the update then tells that it may not be written.
bool UpdateWindow::lockApplicationDir()
{
    return lock.tryLock() != FolderLock::Result::HeldByAnother;
}

void UpdateWindow::showAnotherUpdaterRuns()
{
    qDebug() << "Another updater runs in this folder: nothing done";
    ui->textEdit->setText(tr("An update of Brenvoth is already running."));
    setButtonState(ButtonState::CloseOnly);
}

void UpdateWindow::detectPendingUpdate()
{
    const ApplicationLayout layout(applicationDir);
    compareManifests(layout.downloadedManifest(), layout.localManifest());
}

void UpdateWindow::compareManifests(const QString &downloadedManifest, const QString &localManifest)
{
    const PendingUpdate pending = ::compareManifests(downloadedManifest, localManifest);
    if (pending.status != Manifest::Status::Read) {
        qDebug().noquote() << pending.failureLine();
        return;
    }
    newVersion = pending.newVersion;
    updateDirs = pending.updateDirs;
    updateNames = pending.updateNames;
    WindowAccess::setElidedText(ui->version, tr("New Version: ") + isolatedVersion(newVersion, layoutDirection()));
    if (!pending.notes.isEmpty())
        ui->textEdit->setText(pending.notes);
}

QString UpdateWindow::localFileVersion(const QString &localManifest, const QString &wantedName) const
{
    return ::localFileVersion(localManifest, wantedName);
}

void UpdateWindow::on_closeButton_clicked()
{
    declineOpenQuestion();
    close();
}

void UpdateWindow::on_update_clicked()
{
    switch (state) {
    case ButtonState::Update:
        setButtonState(ButtonState::Cancel);
        installUpdate();
        break;
    case ButtonState::Cancel:
    case ButtonState::CloseOnly:
        declineOpenQuestion();
        close();
        break;
    case ButtonState::Start: {
        const QString program = ApplicationLayout(applicationDir).program();
        if (QProcess::startDetached(program, QStringList{program}))
            QCoreApplication::quit();
        break;
    }
    }
}

void UpdateWindow::setButtonState(ButtonState newState)
{
    state = newState;
    switch (state) {
    case ButtonState::Update:
        ui->update->setText(tr("Update"));
        ui->update->setAccessibleDescription(tr("Downloads and installs the new version"));
        break;
    case ButtonState::Cancel:
        ui->update->setText(tr("Cancle"));
        ui->update->setAccessibleDescription(tr("Stops the update and closes the updater"));
        break;
    case ButtonState::Start:
        ui->update->setText(tr("OK"));
        ui->update->setAccessibleDescription(tr("Starts Brenvoth and closes the updater"));
        break;
    case ButtonState::CloseOnly:
        ui->update->setText(tr("OK"));
        ui->update->setAccessibleDescription(tr("Closes the updater without updating"));
        break;
    }
    fitUpdateButton();
}

// A label longer than the form's button widens it towards the progress bar,
// which gives way. Its height stays: the tallest script's line fits in it.
void UpdateWindow::fitUpdateButton()
{
    const int width = qMax(updateButtonWidth, ui->update->sizeHint().width());
    const QRect button(updateButtonEnd - width, updateButtonTop, width, updateButtonHeight);
    const QRect bar(progressBarStart, updateButtonTop, button.left() - progressBarGap - progressBarStart,
                    updateButtonHeight);
    ui->update->setGeometry(QStyle::visualRect(layoutDirection(), rect(), button));
    ui->progressBar->setGeometry(QStyle::visualRect(layoutDirection(), rect(), bar));
}

void UpdateWindow::installUpdate()
{
    if (updateDirs.isEmpty() || updateNames.isEmpty())
        return;

    Installation installation(applicationDir, downloadBaseUrl);
    installation.setStallTimeout(stallTimeout);
    installation.setRetryPause(retryPause);
    installation.setPublicKey(publicKey);
    connect(&installation, &Installation::progressChanged, ui->progressBar, [this](int value) {
        ui->progressBar->setValue(qMax(ui->progressBar->value(), value));
    });
    connect(&installation, &Installation::waiting, this, &UpdateWindow::onInstallationWaiting);
    connect(&installation, &Installation::proxyCredentialsNeeded, this,
            [this, &installation](const QString &proxyName) { askForProxyCredentials(&installation, proxyName); });
    connect(&installation, &Installation::finished, this,
            [this, &installation] { showInstallationResult(installation); });
    installation.run(newVersion, updateDirs, updateNames);
    setButtonState(ButtonState::Start);
}

// The question covers the notes while the files wait; what is typed goes
// straight to the installation.
void UpdateWindow::askForProxyCredentials(Installation *installation, const QString &proxyName)
{
    if (!signOnForm)
        signOnForm = new ProxySignOnForm(this, ui->textEdit);
    connect(signOnForm, &ProxySignOnForm::signedOn, installation, &Installation::useProxyCredentials,
            Qt::UniqueConnection);
    connect(signOnForm, &ProxySignOnForm::declined, installation, &Installation::declineProxyCredentials,
            Qt::UniqueConnection);
    signOnForm->ask(proxyName);
}

// The installation would wait for an answer that no one can give any more.
void UpdateWindow::declineOpenQuestion()
{
    if (signOnForm && signOnForm->isVisible())
        signOnForm->cancelButton()->click();
}

// What the installation waits for stands below the notes, as a failure
// would, until it goes on.
void UpdateWindow::onInstallationWaiting(const QString &reason)
{
    if (waitingFrom >= 0) {
        QTextCursor cursor(ui->textEdit->document());
        cursor.setPosition(waitingFrom);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        waitingFrom = -1;
    }
    if (reason.isEmpty())
        return;
    waitingFrom = ui->textEdit->document()->characterCount() - 1;
    ui->textEdit->append(QString());
    ui->textEdit->append(QStringLiteral("<i>%1</i>").arg(reason.toHtmlEscaped()));
    WindowAccess::alertToNotes(ui->textEdit);
    ui->textEdit->verticalScrollBar()->setValue(ui->textEdit->verticalScrollBar()->maximum());
}

void UpdateWindow::showInstallationResult(const Installation &installation)
{
    if (installation.failure() == Installation::Failure::None) {
        ui->progressBar->setValue(100);
        return;
    }
    const QString details = installation.errorDetails();
    qDebug().noquote() << QStringLiteral("Update to %1 not installed: %2%3")
                              .arg(newVersion, installation.errorString(),
                                   details.isEmpty() ? QString() : QStringLiteral(" [%1]").arg(details));
    ui->progressBar->setValue(0);
    ui->progressBar->setStyleSheet(ui->progressBar->styleSheet() + QLatin1String(failedGroove));
    // Set apart from the release notes by a blank line and scrolled into view below long ones.
    ui->textEdit->append(QString());
    ui->textEdit->append(failureText(installation));
    WindowAccess::alertToNotes(ui->textEdit);
    ui->textEdit->verticalScrollBar()->setValue(ui->textEdit->verticalScrollBar()->maximum());
}
