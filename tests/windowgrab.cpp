// Starts the update window as the updater does, at the scale the environment
// gives (QT_SCALE_FACTOR), and saves what it draws.
//
//   windowgrab <application folder> <picture.png> [languages]
//
// Without languages the window takes the system's display languages, as the
// updater does; with them (comma-separated, as "fr-CA,de", or "pseudo" for
// the pseudo-translation) it takes those, and shows the progress bar half
// full.
//
// Prints one line "<name> <hint width> <text height> <width> <height>" for
// each widget whose text must fit its rectangle, one line
// "rect <name> <x> <y> <width> <height>" for each widget in window
// coordinates, and one line "name <name> <accessible name>" for each
// widget a screen reader names.
#include "pseudotranslator.h"
#include "screenscaling.h"
#include "stylesheet.h"
#include "translations.h"
#include "updatecontroller.h"
#include "updatewindow.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QProgressBar>
#include <QTextStream>

namespace {

void chooseLanguage(QApplication &app, const QString &languages)
{
    if (languages == QLatin1String("pseudo"))
        app.installTranslator(new PseudoTranslator(&app));
    else
        Translations::install(&app, languages.isEmpty() ? QLocale::system().uiLanguages()
                                                        : languages.split(QLatin1Char(',')));
}

void describe(const UpdateWindow &window)
{
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    // The height a text needs is its line's: a button's size hint adds the
    // line gap of fonts such as Noto CJK, which a 21 pixel button leaves out.
    for (const char *name : {"version", "update"}) {
        const auto *widget = window.findChild<QWidget *>(QLatin1String(name));
        out << name << ' ' << widget->sizeHint().width() << ' '
            << qMin(widget->sizeHint().height(), widget->fontMetrics().height()) << ' '
            << widget->width() << ' ' << widget->height() << '\n';
    }
    for (const char *name : {"widget_2", "closeButton", "version", "textEdit", "progressBar", "update"}) {
        const auto *widget = window.findChild<QWidget *>(QLatin1String(name));
        const QRect rect(widget->mapTo(&window, QPoint()), widget->size());
        out << "rect " << name << ' ' << rect.x() << ' ' << rect.y() << ' ' << rect.width() << ' '
            << rect.height() << '\n';
    }
    out << "name window " << window.accessibleName() << '\n';
    for (const char *name : {"closeButton", "textEdit", "progressBar"})
        out << "name " << name << ' ' << window.findChild<QWidget *>(QLatin1String(name))->accessibleName()
            << '\n';
    out << "name updateText " << window.findChild<QWidget *>(QStringLiteral("update"))->property("text").toString()
        << '\n';
}

} // namespace

int main(int argc, char **argv)
{
    enableHighDpiScaling();
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 2;
    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));
    const QString languages = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    chooseLanguage(app, languages);

    UpdateController controller(QString::fromLocal8Bit(argv[1]), QString());

    UpdateWindow window(&controller);
    if (!languages.isEmpty())
        window.findChild<QProgressBar *>()->setValue(50);
    if (!window.grab().save(QString::fromLocal8Bit(argv[2])))
        return 1;
    describe(window);
    return 0;
}
