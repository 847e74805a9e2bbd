#ifndef GENERATEDRELEASE_H
#define GENERATEDRELEASE_H

#include "benchsetup.h"

#include <QByteArray>
#include <QString>
#include <QVector>

/// A release 2.0.0 of generated files spread over 8 folders: its files on
/// the server, the application at 1.0.0 waiting for it, and the check of a copy.
class GeneratedRelease
{
public:
    static const QByteArray newVersion;
    /// Where releases lie below the served root, and where this one's files lie.
    static const QString releasePath;
    static const QString versionPath;

    /// \a files files of \a fileSize bytes in a folder of their own named \a key.
    GeneratedRelease(const char *key, int files, qint64 fileSize);

    QString label;
    QString key;
    int files = 0;
    qint64 fileSize = 0;

    QString path(int i) const { return QString::fromLatin1(dir(i) + name(i)); }
    qint64 bytes() const { return files * fileSize; }

    /// Writes the files below \a servedDir, the served version folder.
    bool publish(const QString &servedDir) const;
    /// curl's --config list fetching every file from below \a urlPrefix into \a outputDir.
    QByteArray curlConfig(const QString &urlPrefix, const QString &outputDir) const;
    /// Release 1.0.0 in \a appDir, every file of another size than in 2.0.0,
    /// with the manifest of 2.0.0 downloaded next to it.
    bool layOutApplication(const QString &appDir) const;
    /// What is wrong with the copy below \a dir of the files below
    /// \a servedDir, or the empty text: every file's size is checked and a
    /// sample of 32 files byte by byte.
    QString wrongFile(const QString &dir, const QString &servedDir) const;

private:
    QByteArray dir(int i) const;
    QByteArray name(int i) const { return "file" + QByteArray::number(i) + ".bin"; }
    QVector<ManifestEntry> entries(const QByteArray &version) const;
};

/// Writes \a size bytes, different for every seed and every MiB.
bool writeGeneratedFile(const QString &path, qint64 size, quint32 seed);

#endif // GENERATEDRELEASE_H
