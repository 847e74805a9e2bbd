// Where the publisher writes in the folder the download server serves.

#ifndef SERVERFOLDER_H
#define SERVERFOLDER_H

#include <QString>

/// Where ServerLayout puts \a relative below the download base in \a serverRoot.
QString onServer(const QString &serverRoot, const QString &relative);

#endif // SERVERFOLDER_H
