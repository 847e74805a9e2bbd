#include "screenscaling.h"
#include "serverlayout.h"
#include "stylesheet.h"
#include "translations.h"
#include "updatecontroller.h"
#include "updatewindow.h"

#include <QApplication>
#include <QFile>
#include <QLocale>

int main(int argc, char **argv)
{
    enableHighDpiScaling();
    QApplication app(argc, argv);

    QFile styleFile(QStringLiteral(":/qss/style.qss"));
    app.setStyleSheet(readStyleSheet(styleFile));
    // The display languages, not the regional format: that is what Windows
    // shows its own windows in.
    Translations::install(&app, QLocale::system().uiLanguages());

    UpdateController controller(QCoreApplication::applicationDirPath(),
                                QStringLiteral(BRENVOTH_DOWNLOAD_ORIGIN) + ServerLayout::basePath(),
                                Policies::ofThisMachine());
    controller.setPublicKey(QByteArrayLiteral(BRENVOTH_PUBLIC_KEY));
    UpdateWindow window(&controller);
    window.show();
    return app.exec();
}
