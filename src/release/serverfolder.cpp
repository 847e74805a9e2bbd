#include "serverfolder.h"
#include "serverlayout.h"

#include <QDir>

QString onServer(const QString &serverRoot, const QString &relative)
{
    return QDir::cleanPath(serverRoot + QLatin1Char('/') + ServerLayout::basePath() + relative);
}
