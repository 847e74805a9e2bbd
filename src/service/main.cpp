#include "applyforuser.h"
#include "servicelog.h"
#include "servicerun.h"
#include "servicesetup.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <windows.h>

// brenvoth-update-service.exe install | uninstall: run by Brenvoth's
// installer, as an administrator. apply <request>: started elevated by the
// updater where there is no service. Without arguments: the service.
int main(int argc, char **argv)
{
    // No DLL from the current folder or the PATH, which a user may write.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    const QByteArray keys = QByteArrayLiteral(BRENVOTH_PUBLIC_KEY);
    QTextStream err(stderr);
    QString error;
    if (arguments == QStringList{QStringLiteral("install")}) {
        if (ServiceSetup::install(&error))
            return 0;
        err << "Not installed: " << error << '\n';
        return 1;
    }
    if (arguments == QStringList{QStringLiteral("uninstall")}) {
        if (ServiceSetup::uninstall(&error))
            return 0;
        err << "Not removed: " << error << '\n';
        return 1;
    }
    logToStateFolder();
    if (arguments.size() == 2 && arguments.first() == QLatin1String("apply"))
        return int(applyForUser(QCoreApplication::applicationDirPath(), arguments.at(1), keys));
    if (arguments.isEmpty() && ServiceRun::run(keys))
        return 0;
    err << "Usage: brenvoth-update-service install | uninstall\n";
    return 2;
}
