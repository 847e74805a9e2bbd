#ifndef APPLYFORUSER_H
#define APPLYFORUSER_H

#include <QByteArray>
#include <QString>

/// One request of an updater, applied to \a applicationDir by a side with
/// more rights than the user who asked: the service, or the same program
/// started elevated. \a encodedRequest is an ApplyRequest in base64, the
/// only thing taken from the caller: a release to apply, or, after its
/// trial, the kept one to put back or drop. ReleaseApplication does it in
/// this side's own folder; the request and how it
/// ended go to the log there, and the result for the updater beside it.
/// Returns the exit code that tells the updater how it ended.
quint32 applyForUser(const QString &applicationDir, const QString &encodedRequest, const QByteArray &publicKeys);

#endif // APPLYFORUSER_H
