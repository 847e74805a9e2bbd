#ifndef DURABLEFILES_H
#define DURABLEFILES_H

#include <QString>
#include <QStringList>

/// Makes \a files, all on the file system of \a directory, durable on disk:
/// on Linux with one flush of that whole file system, elsewhere file by file.
bool flushToDisk(const QString &directory, const QStringList &files);

/// Makes the entries of \a directory (files created, renamed or removed in
/// it) durable. Windows keeps them in order by itself.
void flushDirectory(const QString &directory);

#endif // DURABLEFILES_H
