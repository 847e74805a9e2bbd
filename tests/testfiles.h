#ifndef TESTFILES_H
#define TESTFILES_H

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QSysInfo>

// File helpers shared by the tests.

/// The whole file, or a marker that no real content equals.
inline QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

/// Writes \a content to \a path, creating the folders above it.
inline bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

/// Every file below \a root with its content and every folder, by relative
/// path; the download directory, the updater's scratch space, and the lock
/// of a running updater are left out.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(root).relativeFilePath(it.next());
        if (relative == QLatin1String("download") || relative.startsWith(QLatin1String("download/"))
            || relative == QLatin1String("BrenvothUpdater.lock"))
            continue;
        entries.insert(relative, it.fileInfo().isDir() ? QByteArray("<folder>") : contentOf(it.filePath()));
    }
    return entries;
}

/// A lock file as QLockFile writes one for this process (its id, program
/// and host): what an ended updater left when the next one got its id.
inline QByteArray lockFileNamingThisProcess()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n'
           + QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
}

/// \a text with the line ends that a file written in text mode has here.
inline QByteArray nativeLines(QByteArray text)
{
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

#endif // TESTFILES_H
