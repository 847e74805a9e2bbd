#include "stylesheet.h"
#ifdef Q_OS_WIN
#include "machineinstall.h"
#include "programfolders.h"
#endif
#include "testupdater.h"
#include "updatewindowform.h"
#include "testwaits.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

namespace {

// Counts the close events a widget receives: a slot connected twice would close twice.
class CloseCounter : public QObject
{
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Close)
            ++count;
        return false;
    }
};

QByteArray styleSheetOnDisk()
{
    QFile file(QStringLiteral(BRENVOTH_SOURCE_DIR "/resources/qss/style.qss"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int chunkColouredPixels(const QImage &image, int fromColumn, int toColumn)
{
    int count = 0;
    for (int x = fromColumn; x < toColumn; ++x)
        for (int y = 0; y < image.height(); ++y)
            count += QColor(image.pixel(x, y)).green() > 0x80;
    return count;
}

} // namespace

class tst_UpdateWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void styleSheetIsTheResourceByteForByte();
    void unreadableStyleSheetIsEmpty();
    void widgets_data();
    void widgets();
    void creationOrder();
    void windowSettings();
    void initialTexts();
    void nameSetBeforeSetupIsKept();
    void colours_data();
    void colours();
    void progressBarSheets();
    void closeButtonClosesOnceAndEndsTheLoop();
    void updateButtonReachesOneSlot();
    void translatedButtonKeepsItsState();
    void keyboard_data();
    void keyboard();
    void everyControlHasAName();
    void longVersionIsElided_data();
    void longVersionIsElided();
    void policyIsNamed_data();
    void policyIsNamed();
#ifdef Q_OS_WIN
    void approvalIsAnnounced();
#endif

private:
    QTemporaryDir appDir;   // no manifests: the window keeps its form texts
    UpdateWindow *makeWindow() { return openUpdater(appDir.path()); }
};

void tst_UpdateWindow::initTestCase()
{
    QVERIFY(appDir.isValid());
    QFile sheet(QStringLiteral(":/qss/style.qss"));
    qApp->setStyleSheet(readStyleSheet(sheet));
}

void tst_UpdateWindow::styleSheetIsTheResourceByteForByte()
{
    const QByteArray expected = styleSheetOnDisk();
    QCOMPARE(expected.size(), 257);
    QCOMPARE(expected.count("\r\n"), 2);
    QVERIFY2(expected.endsWith("\r\n"), "the sheet's last line has no CR LF");
    QCOMPARE(qApp->styleSheet().toUtf8(), expected);
}

void tst_UpdateWindow::unreadableStyleSheetIsEmpty()
{
    QFile missing(QStringLiteral(":/qss/missing.qss"));
    QCOMPARE(readStyleSheet(missing), QString());
}

void tst_UpdateWindow::widgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("styleSheet");

    QTest::newRow("text box") << "textEdit" << "QTextEdit" << "UpdateWindow"
        << QRect(70, 110, 511, 151)
        << "background-color: #3c4244;\nborder:1px solid black;\nborder-radius:5px;\ncolor:white;";
    QTest::newRow("top bar") << "widget" << "QWidget" << "UpdateWindow" << QRect(0, 0, 641, 41)
        << "background-color: rgb(0, 0, 0);";
    QTest::newRow("logo") << "widget_2" << "QWidget" << "widget" << QRect(0, 0, 151, 41)
        << "image: url(:/image/logo.png);";
    QTest::newRow("close button") << "closeButton" << "QPushButton" << "widget"
        << QRect(607, 7, 26, 26)
        << "QPushButton#closeButton\n{\n    background-color: transparent;\n    margin:6px;\n"
           "    border-image:url(:/image/close_t.png);\n}\nQPushButton#closeButton:hover\n{\n"
           "    border-image:url(:/image/close.png);\n}"
           "\nQPushButton#closeButton:focus\n{\n    border-image:url(:/image/close.png);\n}";
    QTest::newRow("progress bar") << "progressBar" << "QProgressBar" << "UpdateWindow"
        << QRect(70, 310, 411, 21)
        << "QProgressBar:horizontal {border: 1px solid #525c60; border-radius: 10px; "
           "background: #222a2c; padding: 1px;text-align: center;color:none;}\n"
           "QProgressBar::chunk:horizontal {background: qlineargradient(x1: 0, y1: 0.5, x2: 0, "
           "y2: 1, stop: 0 #38f9c3, stop: 1 #3c8f7a); border-radius: 7px;}";
    QTest::newRow("version label") << "version" << "QLabel" << "UpdateWindow"
        << QRect(70, 70, 181, 31) << "color:white;\nborder:none;";
    QTest::newRow("update button") << "update" << "QPushButton" << "UpdateWindow"
        << QRect(510, 310, 75, 21)
        << "QPushButton:pressed,QPushButton:hover{\ncolor:white;\n}\n"
           "QPushButton{\nborder-radius:2px;\ncolor:#888e8d;\n}"
           "\nQPushButton:focus{\ncolor:white;\nborder-color:#888e8d;\noutline:none;\n}";
}

void tst_UpdateWindow::widgets()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QFETCH(QRect, geometry);
    QFETCH(QString, styleSheet);

    QScopedPointer<UpdateWindow> window(makeWindow());
    auto *widget = window->findChild<QWidget *>(name);
    QVERIFY2(widget, "the widget is missing");
    QCOMPARE(widget->metaObject()->className(), qPrintable(className));
    QCOMPARE(widget->parent()->objectName(), parentName);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(widget->styleSheet(), styleSheet);
    QCOMPARE(widget->windowType(), Qt::Widget);
}

void tst_UpdateWindow::creationOrder()
{
    QScopedPointer<UpdateWindow> window(makeWindow());
    QStringList windowChildren, barChildren;
    for (QObject *child : window->children())
        if (child->isWidgetType())
            windowChildren << child->objectName();
    for (QObject *child : window->findChild<QWidget *>("widget")->children())
        barChildren << child->objectName();
    QCOMPARE(windowChildren,
             QStringList({"textEdit", "widget", "progressBar", "version", "update"}));
    QCOMPARE(barChildren, QStringList({"widget_2", "closeButton"}));
}

void tst_UpdateWindow::windowSettings()
{
    QScopedPointer<UpdateWindow> window(makeWindow());
    QCOMPARE(window->objectName(), QStringLiteral("UpdateWindow"));
    QCOMPARE(window->size(), QSize(639, 365));
    QCOMPARE(window->styleSheet(), QStringLiteral("background-color:#525c60;\nborder:1px solid black;"));
    QCOMPARE(window->frameShape(), QFrame::StyledPanel);
    QCOMPARE(window->frameShadow(), QFrame::Raised);
    // A parentless widget is always of type Window; the hints are the frameless
    // one and the system menu's, which gives Alt+Space its Move.
    QCOMPARE(window->windowType(), Qt::Window);
    QCOMPARE(window->windowFlags() & ~Qt::WindowType_Mask,
             Qt::WindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint));

    auto *bar = window->findChild<QProgressBar *>("progressBar");
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QVERIFY2(!bar->isTextVisible(), "the progress text shows");
    QVERIFY2(!window->findChild<QTextEdit *>("textEdit")->isReadOnly(), "the text box was made read-only");
}

void tst_UpdateWindow::initialTexts()
{
    QScopedPointer<UpdateWindow> window(makeWindow());
    QCOMPARE(window->windowTitle(), QStringLiteral("Frame"));
    QCOMPARE(window->findChild<QLabel *>("version")->text(), QStringLiteral("New Version: 1.0.0"));
    QCOMPARE(window->findChild<QPushButton *>("update")->text(), QStringLiteral("Update"));
    QCOMPARE(window->findChild<QPushButton *>("closeButton")->text(), QString());

    auto *textEdit = window->findChild<QTextEdit *>("textEdit");
    QCOMPARE(textEdit->toPlainText(), QStringLiteral("There is no version infomation!"));
    QCOMPARE(textEdit->document()->blockCount(), 1);
    const QString html = textEdit->toHtml();
    QVERIFY2(html.contains("font-family:'SimSun'; font-size:9pt"), qPrintable(html));
}

void tst_UpdateWindow::nameSetBeforeSetupIsKept()
{
    QFrame frame;
    frame.setObjectName(QStringLiteral("customName"));
    Ui::UpdateWindow form;
    form.setupUi(&frame);
    QCOMPARE(frame.objectName(), QStringLiteral("customName"));
    QCOMPARE(form.version->parent(), &frame);
}

void tst_UpdateWindow::colours_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("top bar") << QPoint(400, 20) << QColor(0, 0, 0);
    QTest::newRow("window body") << QPoint(30, 200) << QColor(0x52, 0x5c, 0x60);
    QTest::newRow("window border") << QPoint(0, 200) << QColor(0, 0, 0);
    QTest::newRow("text box") << QPoint(400, 220) << QColor(0x3c, 0x42, 0x44);
    QTest::newRow("progress groove") << QPoint(270, 320) << QColor(0x22, 0x2a, 0x2c);
}

void tst_UpdateWindow::colours()
{
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);

    QScopedPointer<UpdateWindow> window(makeWindow());
    const QImage image = window->grab().toImage();
    QCOMPARE(QColor(image.pixel(at)).name(), colour.name());
}

void tst_UpdateWindow::progressBarSheets()
{
    QScopedPointer<UpdateWindow> window(makeWindow());
    auto *own = window->findChild<QProgressBar *>("progressBar");
    own->setValue(50);

    QProgressBar plain;               // styled by the application sheet alone
    plain.resize(own->size());
    plain.setTextVisible(false);
    plain.setValue(50);

    const QImage ownImage = own->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage plainImage = plain.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(ownImage.size(), plainImage.size());
    QVERIFY2(ownImage != plainImage, "both bars render alike: one of the sheets is not applied");

    // The chunk corners differ (7 px against 9 px radius), the rest of the chunk does not.
    const int ownCorner = chunkColouredPixels(ownImage, 0, 10);
    const int plainCorner = chunkColouredPixels(plainImage, 0, 10);
    QVERIFY2(ownCorner != plainCorner,
             qPrintable(QString("chunk pixels at the left end: own %1, plain %2").arg(ownCorner).arg(plainCorner)));
    QCOMPARE(chunkColouredPixels(ownImage, 40, 150), chunkColouredPixels(plainImage, 40, 150));
}

void tst_UpdateWindow::closeButtonClosesOnceAndEndsTheLoop()
{
    UpdateWindow *window = makeWindow();
    CloseCounter closes;
    window->installEventFilter(&closes);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window, awaitCeilingMsecs));

    QTimer::singleShot(0, window, [window] {
        window->findChild<QPushButton *>("closeButton")->click();
    });
    QTimer guard;                      // keeps a broken close from hanging the suite
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [] { qApp->exit(99); });
    guard.start(10000);

    QCOMPARE(qApp->exec(), 0);
    QCOMPARE(closes.count, 1);
    QVERIFY(!window->isVisible());
    delete window;
}

void tst_UpdateWindow::updateButtonReachesOneSlot()
{
    QScopedPointer<UpdateWindow> window(makeWindow());
    CloseCounter closes;
    window->installEventFilter(&closes);
    window->show();
    auto *update = window->findChild<QPushButton *>("update");

    update->click();   // nothing pending: the click only turns the button to "Cancle"
    QCOMPARE(update->text(), QStringLiteral("Cancle"));
    QCOMPARE(closes.count, 0);

    update->click();
    QCOMPARE(closes.count, 1);
}

// The button's label is the translation's; what a click does is the window's.
void tst_UpdateWindow::translatedButtonKeepsItsState()
{
    QTranslator german;
    QVERIFY(german.load(QStringLiteral("brenvoth_de"), QStringLiteral(":/translations")));
    qApp->installTranslator(&german);
    const auto removeGerman = qScopeGuard([&german] { qApp->removeTranslator(&german); });
    QScopedPointer<UpdateWindow> window(makeWindow());
    CloseCounter closes;
    window->installEventFilter(&closes);
    window->show();
    auto *update = window->findChild<QPushButton *>("update");
    QCOMPARE(update->text(), QStringLiteral("Aktualisieren"));

    update->click();
    QCOMPARE(window->buttonState(), UpdateWindow::ButtonState::Cancel);
    QCOMPARE(update->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(closes.count, 0);
    update->click();
    QCOMPARE(closes.count, 1);
}

void tst_UpdateWindow::keyboard_data()
{
    QTest::addColumn<QString>("focusFirst");     // empty: the focus the window starts with
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focusAfter");
    QTest::addColumn<QString>("updateText");
    QTest::addColumn<bool>("open");

    const int none = Qt::NoModifier;
    QTest::newRow("Space on the fresh window starts the update")
        << QString() << int(Qt::Key_Space) << none << "update" << "Cancle" << true;
    QTest::newRow("Enter on the fresh window starts the update")
        << QString() << int(Qt::Key_Return) << none << "update" << "Cancle" << true;
    QTest::newRow("Tab from the notes reaches Update")
        << "textEdit" << int(Qt::Key_Tab) << none << "update" << "Update" << true;
    QTest::newRow("Tab from Update reaches the close button")
        << "update" << int(Qt::Key_Tab) << none << "closeButton" << "Update" << true;
    QTest::newRow("Shift+Tab from Update reaches the notes")
        << "update" << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "textEdit" << "Update" << true;
    QTest::newRow("Enter on the close button closes")
        << "closeButton" << int(Qt::Key_Return) << none << "closeButton" << "Update" << false;
    QTest::newRow("Esc closes") << QString() << int(Qt::Key_Escape) << none << "update" << "Update" << false;
}

void tst_UpdateWindow::keyboard()
{
    QFETCH(QString, focusFirst);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focusAfter);
    QFETCH(QString, updateText);
    QFETCH(bool, open);

    QScopedPointer<UpdateWindow> window(makeWindow());
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.data(), awaitCeilingMsecs));
    if (!focusFirst.isEmpty())
        window->findChild<QWidget *>(focusFirst)->setFocus();
    QWidget *focused = QApplication::focusWidget();
    QVERIFY2(focused, "nothing has the keyboard focus");
    QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

    QCOMPARE(window->focusWidget()->objectName(), focusAfter);
    QCOMPARE(window->findChild<QPushButton *>("update")->text(), updateText);
    QCOMPARE(window->isVisible(), open);
    QVERIFY2(window->findChild<QTextEdit *>("textEdit")->toPlainText() == "There is no version infomation!",
             "the key was typed into the notes");
}

void tst_UpdateWindow::everyControlHasAName()
{
    QScopedPointer<UpdateWindow> window(makeWindow());
    QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window.data());
    QVERIFY2(root->text(QAccessible::Name).contains("Brenvoth"),
             qPrintable("the window is announced as " + root->text(QAccessible::Name)));

    const QList<QAccessible::Role> named{QAccessible::PushButton, QAccessible::EditableText,
                                         QAccessible::ProgressBar};
    QList<QAccessibleInterface *> pending{root};
    QStringList nameless;
    int controls = 0;
    while (!pending.isEmpty()) {
        QAccessibleInterface *node = pending.takeFirst();
        for (int i = 0; i < node->childCount(); ++i)
            pending << node->child(i);
        if (!named.contains(node->role()))
            continue;
        ++controls;
        if (node->text(QAccessible::Name).trimmed().isEmpty())
            nameless << node->object()->objectName();
    }
    QCOMPARE(controls, 4);
    QVERIFY2(nameless.isEmpty(), qPrintable("without a name: " + nameless.join(", ")));
    auto *update = window->findChild<QPushButton *>("update");
    QVERIFY2(!QAccessible::queryAccessibleInterface(update)->text(QAccessible::Description).isEmpty(),
             "nothing tells what Update does");
}

void tst_UpdateWindow::longVersionIsElided_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("elided");

    QTest::newRow("a usual version shows whole") << "1.1.0" << false;
    QTest::newRow("a long version is elided") << "2026.12.08-release-candidate.3+build.4711" << true;
}

void tst_UpdateWindow::longVersionIsElided()
{
    QFETCH(QString, version);
    QFETCH(bool, elided);

    QTemporaryDir app;
    QVERIFY(QDir().mkpath(app.filePath("download")));
    QFile manifest(app.filePath("download/version.xml"));
    QVERIFY(manifest.open(QIODevice::WriteOnly));
    manifest.write(QStringLiteral("<filelist curVersion=\"%1\"/>").arg(version).toUtf8());
    manifest.close();
    UpdateController controller(app.path(), QString());
    UpdateWindow window(&controller);

    auto *label = window.findChild<QLabel *>("version");
    const QString whole = "New Version: " + version;
    QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text() + " is cut"));
    QCOMPARE(label->text() != whole, elided);
    QCOMPARE(label->text().endsWith(QChar(0x2026)), elided);
    QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), whole);
    QCOMPARE(label->toolTip(), elided ? whole : QString());
}

void tst_UpdateWindow::policyIsNamed_data()
{
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<QString>("installed");
    QTest::addColumn<bool>("rollback");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("notes");
    QTest::addColumn<bool>("updates");

    QTest::newRow("updates off") << true << "2.3.0" << false << "Updates are managed by your administrator"
                                 << "turned them off" << false;
    QTest::newRow("held: the newest 2.3 offered") << false << "2.3.0" << false << "New Version: 2.3.1"
                                                  << "Held at 2.3 by your administrator." << true;
    QTest::newRow("held: a newer PC stays") << false << "2.4.0" << false
                                            << "Held at 2.3 by your administrator: the installed version stays."
                                            << "the installed version stays" << false;
    QTest::newRow("held with rollback: taken back") << false << "2.4.0" << true << "New Version: 2.3.1"
                                                    << "takes Brenvoth back to 2.3.1" << true;
}

// So that no one wonders why nothing updates: the window says which policy decided.
void tst_UpdateWindow::policyIsNamed()
{
    QFETCH(bool, disabled);
    QFETCH(QString, installed);
    QFETCH(bool, rollback);
    QTemporaryDir app;
    QVERIFY(QDir().mkpath(app.filePath("download")));
    QFile downloaded(app.filePath("download/version.xml"));
    QVERIFY(downloaded.open(QIODevice::WriteOnly));
    downloaded.write("<filelist curVersion=\"2.4.0\"><software version=\"2.3.1\"><file name=\"a.dll\" version=\"2.3.1\"/>"
                     "</software><software version=\"2.4.0\"><file name=\"a.dll\" version=\"2.4.0\"/></software></filelist>");
    downloaded.close();
    QFile local(app.filePath("version.xml"));
    QVERIFY(local.open(QIODevice::WriteOnly));
    local.write(QStringLiteral("<filelist curVersion=\"%1\"><software version=\"%1\"><file name=\"a.dll\" version=\"%1\"/>"
                               "</software></filelist>").arg(installed).toUtf8());
    local.close();
    Policies policies;
    policies.updatesDisabled = disabled;
    policies.target = {QStringLiteral("2.3."), rollback};
    UpdateController controller(app.path(), QString(), policies);
    UpdateWindow window(&controller);

    QTEST(QAccessible::queryAccessibleInterface(window.findChild<QLabel *>("version"))->text(QAccessible::Name)
              .remove(QChar(0x2066)).remove(QChar(0x2069)), "label");
    QFETCH(QString, notes);
    const QString shown = window.findChild<QTextEdit *>("textEdit")->toPlainText();
    QVERIFY2(shown.contains(notes), qPrintable(shown));
    QTEST(window.buttonState() == UpdateWindow::ButtonState::Update, "updates");
}

#ifdef Q_OS_WIN
// Brenvoth in Program Files with no service installed: the click starts a
// program that Windows runs only with an administrator's approval. The
// shield itself is Windows' own icon, which the offscreen platform of the
// tests does not have: the wine test of that road keeps a picture of it.
void tst_UpdateWindow::approvalIsAnnounced()
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir app(ProgramFolders::programFiles().first() + "/BrenvothShieldXXXXXX");
    QVERIFY2(app.isValid(), qPrintable(app.errorString()));
    const QString staged = MachineInstall::userLayout(app.path()).downloadDir();
    QVERIFY(QDir().mkpath(staged));
    QFile manifest(staged + "/version.xml");
    QVERIFY(manifest.open(QIODevice::WriteOnly));
    manifest.write("<filelist curVersion=\"2.0.0\"><software version=\"2.0.0\">"
                   "<file name=\"a.dll\" version=\"2.0.0\"/></software></filelist>");
    manifest.close();
    UpdateController controller(app.path(), QString());
    UpdateWindow window(&controller);
    QDir(staged).removeRecursively();

    auto *update = window.findChild<QPushButton *>("update");
    QCOMPARE(update->text(), QStringLiteral("Update"));
    QVERIFY2(QAccessible::queryAccessibleInterface(update)->text(QAccessible::Description).contains("approval"),
             "a screen reader does not hear of the approval");
}
#endif

QTEST_MAIN(tst_UpdateWindow)
#include "tst_updatewindow.moc"
