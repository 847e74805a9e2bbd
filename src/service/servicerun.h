#ifndef SERVICERUN_H
#define SERVICERUN_H

#include <QByteArray>

/// The program as the service manager starts it: one request, from the
/// start's one argument, applied to the folder set at install; its exit
/// code reported as the service's own, which no user can set. It accepts
/// no control: nothing stops it half-way through a commit.
namespace ServiceRun {

/// False when the program was not started by the service manager.
bool run(const QByteArray &publicKeys);

} // namespace ServiceRun

#endif // SERVICERUN_H
