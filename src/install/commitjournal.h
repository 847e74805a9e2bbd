#ifndef COMMITJOURNAL_H
#define COMMITJOURNAL_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

/// What a commit records before its first file moves, so that a run
/// interrupted at any moment can be finished or undone at the next start:
/// the release, its files, whether each one existed, the folders to create
/// and the local manifest to write. Written whole and made durable; read
/// back only when every path in it stays inside the application folder.
struct CommitJournal
{
    struct File
    {
        QString dir;    // as in the manifest: empty or ending in "/"
        QString name;
        bool removed = false;   // taken away, nothing put in its place
    };

    /// Writes the journal at \a path, replacing any other, and makes it durable.
    bool write(const QString &path) const;
    /// Reads the journal at \a path; false when it is missing, damaged or unsafe.
    bool read(const QString &path);

    QString version;
    QVector<File> files;
    QVector<bool> existed;
    QStringList createdDirs;   // relative, outermost first
    QByteArray localManifest;
};

#endif // COMMITJOURNAL_H
