#ifndef UPDATEERROR_H
#define UPDATEERROR_H

#include "failurecause.h"

#include <QString>

/// How an update ended: what it left on disk (the kind), why, in words for
/// the user (the cause, which names its subject), and what failed in one
/// technical line, with libcurl's own words beside it for the log.
struct UpdateError
{
    enum class Kind {
        None,          // installed
        NotInstalled,  // nothing changed
        NotVerified,   // nothing changed, nothing fetched but the signature
        Older,         // nothing changed, nothing fetched
        Unfinished,    // a commit is left for the next start to finish or undo
    };

    UpdateError() = default;
    UpdateError(Kind kind, const FailureCause &cause, const QString &technical, const QString &detail = QString())
        : kind(kind), cause(cause), technical(technical), detail(detail) {}

    bool failed() const { return kind != Kind::None; }

    Kind kind = Kind::None;
    FailureCause cause;
    QString technical;
    QString detail;
};

#endif // UPDATEERROR_H
