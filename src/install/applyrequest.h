#ifndef APPLYREQUEST_H
#define APPLYREQUEST_H

#include <QByteArray>
#include <QString>

/// What the updater asks of the side that applies a release to a folder its
/// user may not write: nothing but where the user staged the release. The
/// folder to update is never part of it; that side knows its own.
///
/// It travels as lines of UTF-8: "brenvoth-apply 1", then "staged " and
/// the folder's absolute path, then, from the updater, "nonce " and 32
/// lowercase hex digits, which the result repeats, so that the updater
/// takes no other request's result for its own. The applying side runs with more rights
/// than whoever wrote the request, so anything else is refused: a longer
/// request, another path than one plain local absolute path (no UNC or
/// device path, no "." or ".." step, no control character, no stream or
/// wildcard character, nothing over-long).
struct ApplyRequest
{
    static constexpr int maxBytes = 4096;
    static constexpr int maxPathLength = 1024;

    QString stagedDir;
    QByteArray nonce;

    static QByteArray newNonce();

    QByteArray toBytes() const;
    /// Reads one request; false, with \a reason, for anything else.
    static bool parse(const QByteArray &bytes, ApplyRequest *request, QString *reason);
    /// Whether \a stagedDir names \a expected: the staged folder of the user
    /// who asks, as the applying side works it out itself (Windows' folder
    /// names read the same in any case).
    bool names(const QString &expected) const;
};

#endif // APPLYREQUEST_H
