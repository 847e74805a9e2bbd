// Where --check fetches from: the download server over http(s), or its folder.

#ifndef RELEASESOURCE_H
#define RELEASESOURCE_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class HttpDownloadFile;
class HttpSession;

/// The download server's folder as users reach it: over http(s), through
/// the updater's own downloader with its proxies, redirects and TLS checks,
/// or as a local folder. Files are named relative to the download base
/// (the folder of the manifest). Every answer comes from the event loop,
/// never from within the call that asks.
class ReleaseSource : public QObject
{
    Q_OBJECT

public:
    /// \a size is -1 when it could not be learnt; then \a problem says why.
    using SizeAnswer = std::function<void(qint64 size, const QString &problem)>;
    /// \a localPath is empty when the file could not be had; then \a problem says why.
    using CopyAnswer = std::function<void(const QString &localPath, const QString &problem)>;

    /// \a location: the download base URL, the address of its manifest,
    /// the folder that holds the manifest, or the server root above
    /// ServerLayout::basePath().
    explicit ReleaseSource(const QString &location, QObject *parent = nullptr);

    /// Empty when the location can be read; otherwise why not.
    QString locationProblem() const { return problem; }
    /// Where \a relative is fetched from, for messages.
    QString where(const QString &relative) const;
    /// What a file of \a size bytes where the manifest says \a expected is.
    static QString sizeProblem(qint64 size, qint64 expected);

    /// The file's length, by HEAD over http(s).
    void askSize(const QString &relative, const SizeAnswer &answer);
    /// A local copy of the file, checked against \a size (-1: any) and
    /// \a sha256 (32 raw bytes, empty: any); \a limit bounds a file of no
    /// given size. Give the copy back with done().
    void fetch(const QString &relative, qint64 size, const QByteArray &sha256, qint64 limit,
               const CopyAnswer &answer);
    /// Removes a downloaded copy that fetch() gave.
    void done(const QString &localPath);

signals:
    /// \a bytes more of a file have been received or read.
    void transferred(qint64 bytes);

private:
    void locateFolder(const QString &location);
    void download(const std::function<HttpDownloadFile *()> &make, int retry,
                  const std::function<void(HttpDownloadFile *)> &finished);
    QString downloadProblem(const HttpDownloadFile &download) const;
    void readFolderFile(const QString &relative, qint64 size, const QByteArray &sha256, qint64 limit,
                        const CopyAnswer &answer);

    QString base;   // ends in "/"
    bool remote = false;
    QString problem;
    HttpSession *network = nullptr;
    std::unique_ptr<QTemporaryDir> copies; // downloads only
    int copiesMade = 0;
};

#endif // RELEASESOURCE_H
