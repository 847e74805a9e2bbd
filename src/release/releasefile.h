// One file of the release being published, as the steps of publishing learn it.

#ifndef RELEASEFILE_H
#define RELEASEFILE_H

#include "manifest.h"
#include "serverlayout.h"

#include <QByteArray>
#include <QString>
#include <QVector>

struct ReleaseFile
{
    QString dir; // "" or ending in "/"
    QString name;
    qint64 size = 0;
    QByteArray sha256;
    qint64 zsize = -1; // -1: no .zst
    QVector<Manifest::Delivery::Patch> patches;

    QString path() const { return ServerLayout::filePath(dir, name); }
};

#endif // RELEASEFILE_H
