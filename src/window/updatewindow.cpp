#include "updatewindow.h"
#include "proxysignonform.h"
#include "updatecontroller.h"
#include "updatewindowform.h"
#include "windowaccess.h"
#include "windowmover.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
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
QString failureText(const UpdateError &error)
{
    const QString plainWords = error.cause.plainWords().toHtmlEscaped();
    const QString detail = error.technical.toHtmlEscaped();
    switch (error.kind) {
    case UpdateError::Kind::NotVerified:
        return UpdateWindow::tr("<b>%1.</b> Nothing was changed.").arg(capitalized(plainWords));
    case UpdateError::Kind::Older:
        return UpdateWindow::tr("<b>%1</b> (%2). Nothing was changed.").arg(capitalized(plainWords), detail);
    case UpdateError::Kind::Unfinished:
        return UpdateWindow::tr("<b>The update could not be installed:</b> %1 (%2), and not every file "
                                "could be put back yet. This is finished when the updater starts again.")
            .arg(plainWords, detail);
    default:
        return UpdateWindow::tr("<b>The update could not be installed:</b> %1 (%2). Nothing was changed; "
                                "the update will be offered again next time.").arg(plainWords, detail);
    }
}

} // namespace

UpdateWindow::UpdateWindow(UpdateController *controller, QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::UpdateWindow)
    , controller(controller)
{
    ui->setupUi(this);
    ui->progressBar->setTextVisible(false);
    // Without a frame the window still has the system menu, whose Move
    // Alt+Space reaches from the keyboard, and a drag of its top bar moves it.
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint);
    new WindowMover(ui->widget, this);
    WindowAccess::setUp(this, ui);
    setButtonState(ButtonState::Update);
    connect(controller, &UpdateController::trialEnded, this, &UpdateWindow::onTrialEnded);
    if (controller->anotherUpdaterRuns())
        showAnotherUpdaterRuns();
    else if (controller->policies().updatesDisabled)
        showUpdatesDisabled();
    else if (!controller->refusedVersion().isEmpty())
        showRefusedRelease();
    else
        showPendingUpdate();
}

UpdateWindow::~UpdateWindow()
{
    delete ui;
}

void UpdateWindow::showAnotherUpdaterRuns()
{
    ui->textEdit->setText(tr("An update of Brenvoth is already running."));
    setButtonState(ButtonState::CloseOnly);
}

void UpdateWindow::showRefusedRelease()
{
    ui->textEdit->setPlainText(tr("Brenvoth %1 did not start on this PC, so it is not installed again. "
                                  "The installed Brenvoth %2 is kept.")
                                   .arg(isolatedVersion(controller->refusedVersion(), layoutDirection()),
                                        isolatedVersion(controller->installedVersion(), layoutDirection())));
    setButtonState(ButtonState::CloseOnly);
}

// So that no one wonders why nothing updates.
void UpdateWindow::showUpdatesDisabled()
{
    WindowAccess::setElidedText(ui->version, tr("Updates are managed by your administrator"));
    ui->textEdit->setText(tr("Updates of Brenvoth on this computer are managed by your administrator, who has "
                             "turned them off. Nothing is downloaded and nothing is changed."));
    setButtonState(ButtonState::CloseOnly);
}

// The form's texts stay where the downloaded manifest could not be read.
void UpdateWindow::showPendingUpdate()
{
    const PendingUpdate &pending = controller->pending();
    if (pending.status != Manifest::Status::Read)
        return;
    if (pending.choice != ReleaseChoice::Outcome::Current)
        return showHold(pending);
    WindowAccess::setElidedText(ui->version,
                                tr("New Version: ") + isolatedVersion(pending.newVersion, layoutDirection()));
    if (!pending.notes.isEmpty())
        ui->textEdit->setText(pending.notes);
}

// Which release the administrator's target version prefix chose, below its
// notes; where it keeps the installed one, in their place.
void UpdateWindow::showHold(const PendingUpdate &pending)
{
    QString prefix = controller->policies().target.prefix;
    if (prefix.endsWith(QLatin1Char('.')))
        prefix.chop(1);
    const QString held = isolatedVersion(prefix, layoutDirection());
    const QString version = isolatedVersion(pending.newVersion, layoutDirection());
    QString words;
    switch (pending.choice) {
    case ReleaseChoice::Outcome::Current:
    case ReleaseChoice::Outcome::Held:
        words = tr("Held at %1 by your administrator.").arg(held);
        break;
    case ReleaseChoice::Outcome::RolledBack:
        words = tr("Held at %1 by your administrator, who takes Brenvoth back to %2.").arg(held, version);
        break;
    case ReleaseChoice::Outcome::Stays:
        words = tr("Held at %1 by your administrator: the installed version stays.").arg(held);
        break;
    case ReleaseChoice::Outcome::NoneMatches:
        words = tr("Held at %1 by your administrator, but the update server offers no such version: the "
                   "installed version stays.").arg(held);
        break;
    }
    if (pending.newVersion.isEmpty()) {
        WindowAccess::setElidedText(ui->version, words);
        ui->textEdit->setText(words.toHtmlEscaped());
        return setButtonState(ButtonState::CloseOnly);
    }
    WindowAccess::setElidedText(ui->version, tr("New Version: ") + version);
    if (!pending.notes.isEmpty())
        ui->textEdit->setText(pending.notes);
    appendToNotes(QStringLiteral("<i>%1</i>").arg(words.toHtmlEscaped()));
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
        startUpdate();
        break;
    case ButtonState::Cancel:
    case ButtonState::CloseOnly:
        declineOpenQuestion();
        close();
        break;
    case ButtonState::Start:
        if (!controller->startApplication())
            break;
        // The new Brenvoth is watched for a while; the window comes back if it fails.
        if (controller->handOver())
            hide();
        else
            QCoreApplication::quit();
        break;
    }
}

// With nothing pending the button just reads "Cancle".
void UpdateWindow::startUpdate()
{
    job = controller->install();
    if (!job)
        return;
    connect(job, &UpdateJob::progressChanged, this, &UpdateWindow::onProgressChanged);
    connect(job, &UpdateJob::waiting, this, &UpdateWindow::onWaiting);
    connect(job, &UpdateJob::proxyCredentialsNeeded, this, &UpdateWindow::onProxyCredentialsNeeded);
    connect(job, &UpdateJob::finished, this, &UpdateWindow::onUpdateFinished);
}

void UpdateWindow::onProgressChanged(int value)
{
    ui->progressBar->setValue(qMax(ui->progressBar->value(), value));
}

void UpdateWindow::onUpdateFinished()
{
    declineOpenQuestion();
    if (job->error().failed())
        showFailure();
    else
        ui->progressBar->setValue(100);
    setButtonState(ButtonState::Start);
}

void UpdateWindow::onTrialEnded()
{
    const TrialHandOver::Outcome &outcome = controller->handOver()->outcome();
    if (outcome.passed()) {
        QCoreApplication::quit();
        return;
    }
    const QString tried = isolatedVersion(outcome.triedVersion, layoutDirection()).toHtmlEscaped();
    const QString kept = isolatedVersion(outcome.keptVersion, layoutDirection()).toHtmlEscaped();
    if (outcome.restoreError.isEmpty())
        appendToNotes(tr("<b>Brenvoth %1 did not start on this PC</b> (%2). Brenvoth %3 was put back and "
                         "started again.").arg(tried, outcome.failure.toHtmlEscaped(), kept));
    else
        appendToNotes(tr("<b>Brenvoth %1 did not start on this PC</b> (%2), and Brenvoth %3 could not be put "
                         "back (%4).").arg(tried, outcome.failure.toHtmlEscaped(), kept,
                                            outcome.restoreError.toHtmlEscaped()));
    setButtonState(ButtonState::CloseOnly);
    show();
}

void UpdateWindow::showFailure()
{
    ui->progressBar->setValue(0);
    ui->progressBar->setStyleSheet(ui->progressBar->styleSheet() + QLatin1String(failedGroove));
    appendToNotes(failureText(job->error()));
}

// Set apart from the release notes by a blank line and scrolled into view
// below long ones, where a screen reader is told of it.
void UpdateWindow::appendToNotes(const QString &html)
{
    ui->textEdit->append(QString());
    ui->textEdit->append(html);
    WindowAccess::alertToNotes(ui->textEdit);
    ui->textEdit->verticalScrollBar()->setValue(ui->textEdit->verticalScrollBar()->maximum());
}

// What the update waits for stands below the notes, as a failure would,
// until it goes on.
void UpdateWindow::onWaiting(const QString &reason)
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
    appendToNotes(QStringLiteral("<i>%1</i>").arg(reason.toHtmlEscaped()));
}

// The question covers the notes while the files wait; what is typed goes
// straight to the update.
void UpdateWindow::onProxyCredentialsNeeded(const QString &proxyName)
{
    if (!signOnForm) {
        signOnForm = new ProxySignOnForm(this, ui->textEdit);
        connect(signOnForm, &ProxySignOnForm::signedOn, job, &UpdateJob::useProxyCredentials);
        connect(signOnForm, &ProxySignOnForm::declined, job, &UpdateJob::declineProxyCredentials);
    }
    signOnForm->ask(proxyName);
}

// The update would wait for an answer that no one can give any more.
void UpdateWindow::declineOpenQuestion()
{
    if (signOnForm && signOnForm->isVisible())
        signOnForm->cancelButton()->click();
}

void UpdateWindow::setButtonState(ButtonState newState)
{
    state = newState;
    switch (state) {
    case ButtonState::Update:
        ui->update->setText(tr("Update"));
        ui->update->setAccessibleDescription(tr("Downloads and installs the new version"));
        if (controller->needsApproval())
            showApprovalShield();
        break;
    case ButtonState::Cancel:
        ui->update->setIcon(QIcon());
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

// Windows' own sign that the click asks an administrator, as its own
// dialogs show it.
void UpdateWindow::showApprovalShield()
{
    ui->update->setIcon(style()->standardIcon(QStyle::SP_VistaShield));
    ui->update->setAccessibleDescription(
        tr("Downloads and installs the new version; Windows asks for an administrator's approval"));
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
