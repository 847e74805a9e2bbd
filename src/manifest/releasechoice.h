#ifndef RELEASECHOICE_H
#define RELEASECHOICE_H

#include <QString>
#include <QStringList>

/// An administrator's hold on the releases a PC gets: the newest release
/// whose version starts with the prefix ("2.3."), and with rollback also
/// when the installed one is newer. No prefix: no hold.
struct ReleaseTarget
{
    QString prefix;
    bool rollback = false;
};

/// Which release of a downloaded manifest an update installs.
struct ReleaseChoice
{
    enum class Outcome {
        Current,       // no hold: the release the manifest names current
        Held,          // the newest release with the prefix
        RolledBack,    // the same, older than the installed one
        Stays,         // the installed release is newer, and no rollback
        NoneMatches,   // no release of the manifest has the prefix
    };
    Outcome outcome = Outcome::Current;
    /// The release to install; empty for Stays and NoneMatches.
    QString version;
};

/// Chooses among \a releases (the manifest's versions, in document order),
/// of which \a current is the one the manifest names current, for a PC on
/// release \a installed (empty: unknown) under \a target. Among equal
/// versions the later one counts as newer: the publisher appends releases.
ReleaseChoice chooseRelease(const QStringList &releases, const QString &current, const QString &installed,
                            const ReleaseTarget &target);

/// Orders versions by their dotted numbers (2.10 after 2.9): negative,
/// zero or positive as \a a is older than, as old as or newer than \a b.
int compareVersions(const QString &a, const QString &b);

#endif // RELEASECHOICE_H
