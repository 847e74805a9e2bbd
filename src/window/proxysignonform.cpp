#include "proxysignonform.h"
#include "windowaccess.h"

#include <QAccessible>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

#include <algorithm>

namespace {

// The notes box's look, with fields darker like the progress bar's groove
// and buttons like the update button.
const char formSheet[] =
    "ProxySignOnForm {background-color: #3c4244; border:1px solid black; border-radius:5px;}\n"
    "QLabel {color:white; border:none; background:transparent;}\n"
    "QLineEdit {background:#222a2c; color:white; border:1px solid #525c60; border-radius:2px; padding:0 3px;}\n"
    "QLineEdit:focus {border-color:#38f9c3;}\n"
    "QPushButton {border-radius:2px; color:#888e8d; background-color:#525c60; border:1px solid #525c60;}\n"
    "QPushButton:pressed, QPushButton:hover {color:white;}\n"
    "QPushButton:focus {color:white; border-color:#888e8d; outline:none;}";

constexpr int margin = 10;
constexpr int gap = 8;
constexpr int rowHeight = 24;
constexpr int buttonHeight = 21;
constexpr int minimumButtonWidth = 75;

} // namespace

ProxySignOnForm::ProxySignOnForm(QWidget *window, QWidget *notes)
    : QFrame(window)
    , question(new QLabel(this))
    , userNameLabel(new QLabel(tr("User name:"), this))
    , passwordLabel(new QLabel(tr("Password:"), this))
    , userName(new QLineEdit(this))
    , password(new QLineEdit(this))
    , signIn(new QPushButton(tr("Sign in"), this))
    , cancel(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("proxySignOn"));
    setStyleSheet(QLatin1String(formSheet));
    setGeometry(notes->geometry());
    question->setWordWrap(true);
    password->setEchoMode(QLineEdit::Password);
    userNameLabel->setBuddy(userName);
    passwordLabel->setBuddy(password);

    setAccessibleName(tr("Proxy sign-in"));
    userName->setAccessibleName(tr("User name"));
    password->setAccessibleName(tr("Password"));
    password->setAccessibleDescription(tr("Used for this update only and saved nowhere"));
    signIn->setAccessibleDescription(tr("Signs in to the proxy and goes on with the update"));
    cancel->setAccessibleDescription(tr("Stops the update without signing in"));

    signIn->setAutoDefault(true);
    cancel->setAutoDefault(true);
    setTabOrder(userName, password);
    setTabOrder(password, signIn);
    setTabOrder(signIn, cancel);
    connect(userName, &QLineEdit::returnPressed, signIn, &QPushButton::click);
    connect(password, &QLineEdit::returnPressed, signIn, &QPushButton::click);
    connect(signIn, &QPushButton::clicked, this, &ProxySignOnForm::onSignInClicked);
    connect(cancel, &QPushButton::clicked, this, &ProxySignOnForm::onCancelClicked);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
    placeWidgets();
    hide();
}

// Fixed places, as in the rest of the window; the label column and the
// buttons take the width their translated texts need.
void ProxySignOnForm::placeWidgets()
{
    const int inner = width() - 2 * margin;
    const int labelWidth = qMax(userNameLabel->sizeHint().width(), passwordLabel->sizeHint().width());
    const int fieldX = margin + labelWidth + gap;
    const int userY = 58;
    const int passwordY = userY + rowHeight + gap;
    const int buttonsHigh = std::max({buttonHeight, signIn->sizeHint().height(), cancel->sizeHint().height()});
    const int buttonY = height() - margin - buttonsHigh;
    const int signInWidth = qMax(minimumButtonWidth, signIn->sizeHint().width());
    const int cancelWidth = qMax(minimumButtonWidth, cancel->sizeHint().width());
    const QRect places[] = {
        {margin, margin, inner, userY - margin - gap / 2},
        {margin, userY, labelWidth, rowHeight},
        {fieldX, userY, width() - margin - fieldX, rowHeight},
        {margin, passwordY, labelWidth, rowHeight},
        {fieldX, passwordY, width() - margin - fieldX, rowHeight},
        {width() - margin - cancelWidth - gap - signInWidth, buttonY, signInWidth, buttonsHigh},
        {width() - margin - cancelWidth, buttonY, cancelWidth, buttonsHigh},
    };
    QWidget *const widgets[] = {question, userNameLabel, userName, passwordLabel, password, signIn, cancel};
    for (int i = 0; i < 7; ++i)
        widgets[i]->setGeometry(QStyle::visualRect(layoutDirection(), rect(), places[i]));
}

void ProxySignOnForm::ask(const QString &proxyName)
{
    question->setText(tr("The proxy %1 asks for a user name and password.").arg(proxyName));
    question->setAccessibleName(question->text());
    focusBefore = window()->focusWidget();
    WindowAccess::setEscapeCloses(window(), false);
    show();
    raise();
    userName->setFocus();
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void ProxySignOnForm::onSignInClicked()
{
    const QString typedUserName = userName->text();
    const QString typedPassword = password->text();
    answered();
    emit signedOn(typedUserName, typedPassword);
}

void ProxySignOnForm::onCancelClicked()
{
    answered();
    emit declined();
}

void ProxySignOnForm::answered()
{
    userName->clear();
    password->clear();
    hide();
    WindowAccess::setEscapeCloses(window(), true);
    if (focusBefore)
        focusBefore->setFocus();
}
