// Copies one file of the release to the server, hashing the bytes it copies.

#ifndef HASHEDCOPY_H
#define HASHEDCOPY_H

#include "releasefile.h"

#include <QString>

/// Copies \a source to \a destination, replacing what an earlier run left
/// there, and gives \a file the size and SHA-256 of the bytes copied.
bool copyAndHash(const QString &source, const QString &destination, ReleaseFile *file, QString *error);

#endif // HASHEDCOPY_H
