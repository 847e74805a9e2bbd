#include "windowaccess.h"
#include "updatewindowform.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>

namespace {

const char escapeShortcutName[] = "escapeCloses";

// The focused button looks as under the pointer, framed by a thin line.
const char updateFocusSheet[] = "\nQPushButton:focus{\ncolor:white;\nborder-color:#888e8d;\noutline:none;\n}";
const char closeFocusSheet[] =
    "\nQPushButton#closeButton:focus\n{\n    border-image:url(:/image/close.png);\n}";

void appendStyleSheet(QWidget *widget, const char *sheet)
{
    widget->setStyleSheet(widget->styleSheet() + QLatin1String(sheet));
}

void setUpKeyboard(QFrame *window, Ui::UpdateWindow *ui)
{
    // Tab leaves the notes instead of typing into them; the buttons take
    // Enter as well as Space.
    ui->textEdit->setTabChangesFocus(true);
    ui->update->setAutoDefault(true);
    ui->closeButton->setAutoDefault(true);
    QWidget::setTabOrder(ui->textEdit, ui->update);
    QWidget::setTabOrder(ui->update, ui->closeButton);
    appendStyleSheet(ui->update, updateFocusSheet);
    appendStyleSheet(ui->closeButton, closeFocusSheet);

    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setObjectName(QLatin1String(escapeShortcutName));
    QObject::connect(escape, &QShortcut::activated, ui->closeButton, &QPushButton::click);
    ui->update->setFocus();
}

void setUpAccessibility(QFrame *window, Ui::UpdateWindow *ui)
{
    // The title "Frame" is shown nowhere; the window needs a name of its own.
    window->setAccessibleName(QCoreApplication::translate("UpdateWindow", "Brenvoth update"));
    ui->closeButton->setAccessibleName(QCoreApplication::translate("UpdateWindow", "Close"));
    ui->closeButton->setAccessibleDescription(
        QCoreApplication::translate("UpdateWindow", "Closes the updater without updating"));
    ui->textEdit->setAccessibleName(QCoreApplication::translate("UpdateWindow", "Release notes"));
    ui->progressBar->setAccessibleName(QCoreApplication::translate("UpdateWindow", "Download progress"));
}

} // namespace

namespace WindowAccess {

void setUp(QFrame *window, Ui::UpdateWindow *ui)
{
    setUpKeyboard(window, ui);
    setUpAccessibility(window, ui);
}

void setElidedText(QLabel *label, const QString &text)
{
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, label->width());
    label->setText(shown);
    const QString whole = shown == text ? QString() : text;
    label->setToolTip(whole);
    label->setAccessibleName(whole);
}

void setEscapeCloses(QWidget *window, bool closes)
{
    if (auto *escape = window->findChild<QShortcut *>(QLatin1String(escapeShortcutName), Qt::FindDirectChildrenOnly))
        escape->setEnabled(closes);
}

void alertToNotes(QTextEdit *notes)
{
    QAccessibleEvent alert(notes, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

} // namespace WindowAccess
