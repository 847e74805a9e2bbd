#include "stylesheet.h"
#include "updatewindow.h"

#include <QApplication>
#include <QFile>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));

    UpdateWindow window;
    window.show();
    return app.exec();
}
