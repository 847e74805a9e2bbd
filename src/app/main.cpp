#include "screenscaling.h"
#include "stylesheet.h"
#include "updatewindow.h"

#include <QApplication>
#include <QFile>

int main(int argc, char **argv)
{
    enableHighDpiScaling();
    QApplication app(argc, argv);

    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));

    UpdateWindow window(QCoreApplication::applicationDirPath(),
                        QStringLiteral(BRENVOTH_DOWNLOAD_BASE_URL));
    window.setPublicKey(QByteArrayLiteral(BRENVOTH_PUBLIC_KEY));
    window.show();
    return app.exec();
}
