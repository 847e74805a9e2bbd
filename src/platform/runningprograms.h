#ifndef RUNNINGPROGRAMS_H
#define RUNNINGPROGRAMS_H

// Whether a program runs, and which program a running process was started from.

#include <QString>

namespace WindowsFiles {

/// Whether a program started from \a executable (a full path) is running:
/// on Windows by a snapshot of the processes, elsewhere by /proc.
bool isRunning(const QString &executable);

#ifdef Q_OS_WIN
/// The image path of the running process \a processId (a DWORD); empty when
/// it may not be asked.
QString imageOf(unsigned long processId);
#endif

} // namespace WindowsFiles

#endif // RUNNINGPROGRAMS_H
