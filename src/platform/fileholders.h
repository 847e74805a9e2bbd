#ifndef FILEHOLDERS_H
#define FILEHOLDERS_H

// Who holds a file, as Windows' Restart Manager, loaded at run time, tells.

#include <QStringList>

namespace WindowsFiles {

/// The file names of the programs that have any of \a paths open, as
/// Windows' Restart Manager tells them; empty when it cannot tell, and
/// always elsewhere.
QStringList holders(const QStringList &paths);

} // namespace WindowsFiles

#endif // FILEHOLDERS_H
