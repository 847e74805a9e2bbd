#include "proxysignonform.h"
#include "stylesheet.h"
#include "testupdater.h"
#include "testwaits.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTranslator>
#include <QtTest>

// The question for a proxy's user name and password, over the real window,
// by keyboard as a person answers it.
class tst_ProxySignOn : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void keyboard_data();
    void keyboard();
    void namedAndMasked();
    void languages_data();
    void languages();

private:
    QTemporaryDir appDir;
};

void tst_ProxySignOn::initTestCase()
{
    QVERIFY(appDir.isValid());
    QFile sheet(QStringLiteral(":/qss/style.qss"));
    qApp->setStyleSheet(readStyleSheet(sheet));
}

void tst_ProxySignOn::keyboard_data()
{
    QTest::addColumn<int>("lastKey");
    QTest::addColumn<bool>("signedOn");
    QTest::addColumn<QString>("focusAfter");   // before the last key, after Tab, Tab

    QTest::newRow("Enter signs in with what was typed") << int(Qt::Key_Return) << true << "passwordField";
    QTest::newRow("Esc declines and leaves the window open") << int(Qt::Key_Escape) << false << "passwordField";
    QTest::newRow("Tab goes on to Sign in, whose Enter signs in") << int(Qt::Key_Tab) << true << "signIn";
}

void tst_ProxySignOn::keyboard()
{
    QFETCH(int, lastKey);
    QFETCH(bool, signedOn);
    QFETCH(QString, focusAfter);

    UpdateController controller(appDir.path(), QString());

    UpdateWindow window(&controller);
    auto *form = new ProxySignOnForm(&window, window.findChild<QTextEdit *>("textEdit"));
    form->userNameField()->setObjectName("userNameField");
    form->passwordField()->setObjectName("passwordField");
    form->signInButton()->setObjectName("signIn");
    QSignalSpy answers(form, &ProxySignOnForm::signedOn);
    QSignalSpy refusals(form, &ProxySignOnForm::declined);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window, awaitCeilingMsecs));
    form->ask("proxy.corp:3128");
    QCOMPARE(QApplication::focusWidget(), form->userNameField());

    QTest::keyClicks(QApplication::focusWidget(), "anna");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "se cret");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(lastKey));
    if (lastKey == Qt::Key_Tab) {
        QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

    QVERIFY2(window.isVisible(), "the key closed the updater");
    QVERIFY2(!form->isVisible(), "the question stayed open after its answer");
    QCOMPARE(answers.count(), signedOn ? 1 : 0);
    QCOMPARE(refusals.count(), signedOn ? 0 : 1);
    if (signedOn)
        QCOMPARE(answers.first(), (QList<QVariant>{"anna", "se cret"}));
    QVERIFY2(form->passwordField()->text().isEmpty(), "the form kept the password");
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY2(!window.isVisible(), "Esc no longer closes the window after the question");
}

void tst_ProxySignOn::namedAndMasked()
{
    UpdateController controller(appDir.path(), QString());
    UpdateWindow window(&controller);
    ProxySignOnForm form(&window, window.findChild<QTextEdit *>("textEdit"));
    form.ask("proxy.corp:3128");
    QCOMPARE(form.passwordField()->echoMode(), QLineEdit::Password);
    bool proxyShown = false;
    for (const QLabel *label : form.findChildren<QLabel *>())
        proxyShown |= label->text().contains("proxy.corp:3128");
    QVERIFY2(proxyShown, "the proxy's name is not shown");
    QWidget *const controls[] = {&form, form.userNameField(), form.passwordField(), form.signInButton(),
                                 form.cancelButton()};
    for (QWidget *control : controls) {
        const QString name = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->metaObject()->className() + QString(" has no name")));
    }
    QTest::keyClicks(form.passwordField(), "se cret");
    const QString heard = QAccessible::queryAccessibleInterface(form.passwordField())->text(QAccessible::Value);
    QVERIFY2(!heard.contains("se cret"), "a screen reader reads the password out");
}

void tst_ProxySignOn::languages_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"ar", "de", "es", "fr", "ja", "ko", "pl", "pt_BR", "ru", "tr", "zh_CN", "zh_TW"})
        QTest::newRow(language) << QString(language);
}

// In each language every text fits its place, nothing overlaps, and Arabic
// reads from the right.
void tst_ProxySignOn::languages()
{
    QFETCH(QString, language);
    QTranslator translator;
    QVERIFY2(translator.load(":/translations/brenvoth_" + language + ".qm"), "no translation embedded");
    qApp->installTranslator(&translator);
    const bool rightToLeft = language == "ar";
    qApp->setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    UpdateController controller(appDir.path(), QString());
    UpdateWindow window(&controller);
    ProxySignOnForm form(&window, window.findChild<QTextEdit *>("textEdit"));
    form.ask("proxy.example-company.corp:3128");
    qApp->setLayoutDirection(Qt::LeftToRight);
    qApp->removeTranslator(&translator);

    QVERIFY2(form.signInButton()->text() != "Sign in", "the form is not translated");
    QList<QWidget *> placed;
    for (QWidget *child : form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QSize hint = child->sizeHint();
        if (!qobject_cast<QLineEdit *>(child) && !(qobject_cast<QLabel *>(child) && static_cast<QLabel *>(child)->wordWrap()))
            QVERIFY2(hint.width() <= child->width() && hint.height() <= child->height(),
                     qPrintable(QString("\"%1\" needs %2 x %3 in %4 x %5").arg(child->property("text").toString())
                                    .arg(hint.width()).arg(hint.height()).arg(child->width()).arg(child->height())));
        QVERIFY2(form.rect().contains(child->geometry()), qPrintable(child->property("text").toString() + " leaves the form"));
        for (const QWidget *other : qAsConst(placed))
            QVERIFY2(!child->geometry().intersects(other->geometry()), qPrintable(child->property("text").toString()
                                                                                  + " overlaps " + other->property("text").toString()));
        placed << child;
    }
    auto *question = form.findChild<QLabel *>();
    QVERIFY2(question->heightForWidth(question->width()) <= question->height(),
             qPrintable(QString("the question needs %1 of %2 pixels").arg(question->heightForWidth(question->width())).arg(question->height())));
    const QLabel *userNameLabel = nullptr;
    for (const QLabel *label : form.findChildren<QLabel *>())
        userNameLabel = label->buddy() == form.userNameField() ? label : userNameLabel;
    QVERIFY2(userNameLabel, "the user name field has no label");
    QCOMPARE(userNameLabel->x() < form.userNameField()->x(), !rightToLeft);
}

QTEST_MAIN(tst_ProxySignOn)
#include "tst_proxysignon.moc"
