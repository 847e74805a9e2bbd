#include "stylesheet.h"

#include <QFile>

QString readStyleSheet(QFile &file)
{
    file.open(QIODevice::ReadOnly);
    const QString sheet = QString::fromUtf8(file.readAll());
    file.close();
    return sheet;
}
