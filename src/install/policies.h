#ifndef POLICIES_H
#define POLICIES_H

#include "releasechoice.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

/// What the machine's administrator decided for the updater, from the
/// values PolicyStore reads. None set: the updater works as shipped.
struct Policies
{
    /// UpdatesDisabled = 1: no request, nothing changes.
    bool updatesDisabled = false;
    /// TargetVersionPrefix and RollbackToTargetVersion = 1.
    ReleaseTarget target;
    /// UpdateServer: the download base URL instead of the built-in one,
    /// ending in "/"; https unless AllowHttpUpdateServer = 1. Empty: none.
    QString updateServer;

    /// The values that mean something, as PolicyStore names them.
    static QStringList valueNames();
    /// Reads \a values; a value of the wrong type, out of range or unknown
    /// is left out, and \a ignored gets a line saying why.
    static Policies fromValues(const QVariantMap &values, QStringList *ignored);
    /// The machine's, each value left out written to the log.
    static Policies ofThisMachine();
};

#endif // POLICIES_H
