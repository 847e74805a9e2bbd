#ifndef PROXYSIGNONFORM_H
#define PROXYSIGNONFORM_H

#include <QFrame>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

/// Asks, over the release notes, for the user name and password of a proxy
/// that takes nothing else. What is typed goes to signedOn() and nowhere
/// else: the form keeps no copy once it has answered. Enter signs in, Esc
/// (or "Cancel") declines; either way the form hides itself.
class ProxySignOnForm : public QFrame
{
    Q_OBJECT

public:
    /// Covers \a notes of \a window; hidden until ask().
    ProxySignOnForm(QWidget *window, QWidget *notes);

    /// Shows the question for \a proxyName, the user name field focused.
    void ask(const QString &proxyName);

    QLineEdit *userNameField() const { return userName; }
    QLineEdit *passwordField() const { return password; }
    QPushButton *signInButton() const { return signIn; }
    QPushButton *cancelButton() const { return cancel; }

signals:
    void signedOn(const QString &userName, const QString &password);
    void declined();

private slots:
    void onSignInClicked();
    void onCancelClicked();

private:
    void placeWidgets();
    void answered();

    QLabel *question = nullptr;
    QLabel *userNameLabel = nullptr;
    QLabel *passwordLabel = nullptr;
    QLineEdit *userName = nullptr;
    QLineEdit *password = nullptr;
    QPushButton *signIn = nullptr;
    QPushButton *cancel = nullptr;
    QPointer<QWidget> focusBefore;
};

#endif // PROXYSIGNONFORM_H
