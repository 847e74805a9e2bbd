#ifndef FAILEDRELEASE_H
#define FAILEDRELEASE_H

#include "applicationlayout.h"

#include <QString>

/// The release that did not start on this PC and was taken back: recorded
/// in the updater's own folder so that it is not offered again here. A
/// newer release is offered as usual.
namespace FailedRelease {

bool record(const ApplicationLayout &layout, const QString &version);
bool isRecorded(const ApplicationLayout &layout, const QString &version);

} // namespace FailedRelease

#endif // FAILEDRELEASE_H
