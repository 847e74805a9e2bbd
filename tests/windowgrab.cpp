// Starts the update window as the updater does, at the scale the environment
// gives (QT_SCALE_FACTOR), and saves what it draws.
//
//   windowgrab <application folder> <picture.png>
//
// Prints one line "<name> <hint width> <hint height> <width> <height>" for
// each widget whose text must fit its rectangle.
#include "screenscaling.h"
#include "stylesheet.h"
#include "updatewindow.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char **argv)
{
    enableHighDpiScaling();
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));

    UpdateWindow window(QString::fromLocal8Bit(argv[1]), QString());
    if (!window.grab().save(QString::fromLocal8Bit(argv[2])))
        return 1;
    QTextStream out(stdout);
    for (const char *name : {"version", "update"}) {
        const auto *widget = window.findChild<QWidget *>(QLatin1String(name));
        out << name << ' ' << widget->sizeHint().width() << ' ' << widget->sizeHint().height()
            << ' ' << widget->width() << ' ' << widget->height() << '\n';
    }
    return 0;
}
