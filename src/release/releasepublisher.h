// Publishes one release: runs the steps of publishing in their order.

#ifndef RELEASEPUBLISHER_H
#define RELEASEPUBLISHER_H

#include "releaseoptions.h"

#include <QString>

/// Copies the release's files under the server root, with a .zst of each and
/// patches from earlier releases' copies where they save bytes, writes the
/// new manifest beside the release folders (and its signature into the new
/// one). Checks everything before it writes. Continues in a release folder
/// that an earlier run of the same release left, taking each .zst and patch
/// there that decodes to its file. On failure leaves the manifest as it was,
/// and what is finished in the release folder, and \a error says why.
/// \a summary tells what was done.
bool publishRelease(const ReleaseOptions &options, QString *summary, QString *error);

#endif // RELEASEPUBLISHER_H
