// brenvoth-release --check: fetches what a CheckList lists, as users would,
// and checks it.

#ifndef RELEASECHECK_H
#define RELEASECHECK_H

#include "checklist.h"
#include "releasesource.h"

#include <QByteArray>
#include <QEventLoop>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

/// What one run of brenvoth-release --check looks at.
struct CheckOptions
{
    QString location;  ///< a download base URL or a server folder (see ReleaseSource)
    QString publicKey; ///< a minisign key line or a .pub file; empty: the signature is not checked
    bool deep = false; ///< fetch every file whole, hash it and decode the compressed ones
};

/// Checks that the current release of a published manifest is whole where
/// users fetch it: the manifest's signature (with a key), every entry one
/// that updaters accept (isPublishable), and every file of the release, its
/// .zst and its patches, there with the size the manifest gives; deep, also
/// with the digest, the compressed ones decoded.
class ReleaseCheck : public QObject
{
    Q_OBJECT

public:
    explicit ReleaseCheck(CheckOptions options, QObject *parent = nullptr);

    /// Runs the whole check, in an event loop of its own. False when
    /// anything is missing or wrong; problems() then says what.
    bool run();
    /// "<where the file is>: <what is wrong>", in the manifest's order.
    QStringList problems() const;
    /// One line on what was checked.
    QString summary() const;

signals:
    /// A line on how far the check has come, every few seconds.
    void progressed(const QString &line);

private:
    using Item = CheckList::Item;

    void onManifestFetched(const QString &localPath, const QString &problem);
    void verifySignature();
    void startItems();
    void checkItem(int index);
    void checkDecoded(int index, const QString &compressed, const QString &reference);
    void onItemChecked(int index, const QString &problem = QString());
    void onProgressTimer();
    void addProblem(int index, const QString &relative, const QString &problem);
    void finish();

    CheckOptions options;
    ReleaseSource source;
    QEventLoop loop;
    QByteArray publicKey;
    QByteArray manifestBytes;
    CheckList list;
    QMap<int, QStringList> found; // item index (-1: the manifest) -> its problems
    int next = 0;
    int running = 0;
    int checked = 0;
    qint64 bytesFetched = 0;
    int decoded = 0;
    int notDecoded = 0;
    bool signatureVerified = false;
    QTimer progressTimer;
};

#endif // RELEASECHECK_H
