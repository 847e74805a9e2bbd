#ifndef APPLYREQUEST_H
#define APPLYREQUEST_H

#include <QByteArray>
#include <QString>

/// What the updater asks of the side that applies a release to a folder its
/// user may not write: to apply the release the user staged, naming nothing
/// but where; or, after the new release's trial, to put back the release
/// it replaced, or to let the kept copy go. The folder to update is never
/// part of it; that side knows its own.
///
/// It travels as lines of UTF-8: "brenvoth-apply 1"; then "staged " and
/// the folder's absolute path, or "restore", or "passed"; then, from the
/// updater, "nonce " and 32 lowercase hex digits, which the result repeats,
/// so that the updater takes no other request's result for its own; then
/// "key " and 32 more, the trial key: chosen by the updater that asks for
/// the release to be applied, and needed to have that release taken back
/// or its kept copy dropped, so that no other user can. The applying side
/// runs with more rights than whoever wrote the request, so anything else
/// is refused: a longer request, another path than one plain local absolute
/// path (no UNC or device path, no "." or ".." step, no control character,
/// no stream or wildcard character, nothing over-long), a restore or a
/// passed trial without its key.
struct ApplyRequest
{
    static constexpr int maxBytes = 4096;
    static constexpr int maxPathLength = 1024;

    enum class Kind { Apply, Restore, Passed };

    QString stagedDir;   // to apply only
    QByteArray nonce;
    Kind kind = Kind::Apply;
    QByteArray trialKey;

    /// 32 random lowercase hex digits, for a nonce or a trial key.
    static QByteArray newToken();

    QByteArray toBytes() const;
    /// Reads one request; false, with \a reason, for anything else.
    static bool parse(const QByteArray &bytes, ApplyRequest *request, QString *reason);
    /// Whether \a stagedDir names \a expected: the staged folder of the user
    /// who asks, as the applying side works it out itself (Windows' folder
    /// names read the same in any case).
    bool names(const QString &expected) const;
};

#endif // APPLYREQUEST_H
