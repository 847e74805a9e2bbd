#include "servicestart.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <vector>
#endif

ServiceStart::ServiceStart(QObject *parent)
    : QObject(parent)
{
    poll.setInterval(pollInterval);
    connect(&poll, &QTimer::timeout, this, &ServiceStart::onPoll);
}

#ifdef Q_OS_WIN

namespace {

QString systemMessage(DWORD error)
{
    return QStringLiteral("system error %1").arg(error);
}

} // namespace

ServiceStart::~ServiceStart()
{
    if (service)
        CloseServiceHandle(SC_HANDLE(service));
    if (manager)
        CloseServiceHandle(SC_HANDLE(manager));
}

void ServiceStart::start(const QString &serviceName, const QString &argument)
{
    manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return finish(Outcome::Failed, QStringLiteral("the service manager: %1").arg(systemMessage(GetLastError())));
    // Start and query only: that is all a user may do with it.
    service = OpenServiceW(SC_HANDLE(manager), reinterpret_cast<const wchar_t *>(serviceName.utf16()),
                           SERVICE_START | SERVICE_QUERY_STATUS);
    if (!service) {
        const DWORD error = GetLastError();
        return finish(error == ERROR_SERVICE_DOES_NOT_EXIST ? Outcome::NotInstalled : Outcome::Failed,
                      QStringLiteral("%1: %2").arg(serviceName, systemMessage(error)));
    }
    std::vector<wchar_t> wide(size_t(argument.size()) + 1, 0);
    argument.toWCharArray(wide.data());
    const wchar_t *arguments[] = {wide.data()};
    if (!StartServiceW(SC_HANDLE(service), 1, arguments)) {
        const DWORD error = GetLastError();
        return finish(Outcome::Failed, error == ERROR_SERVICE_ALREADY_RUNNING
                                           ? QStringLiteral("%1 is applying another request").arg(serviceName)
                                           : QStringLiteral("%1 did not start: %2").arg(serviceName, systemMessage(error)));
    }
    poll.start();
}

bool ServiceStart::isStartable(const QString &serviceName)
{
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return false;
    const SC_HANDLE service = OpenServiceW(manager, reinterpret_cast<const wchar_t *>(serviceName.utf16()),
                                           SERVICE_START | SERVICE_QUERY_STATUS);
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

void ServiceStart::onPoll()
{
    SERVICE_STATUS_PROCESS status = {};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(SC_HANDLE(service), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE *>(&status),
                              sizeof status, &needed))
        return finish(Outcome::Failed, QStringLiteral("its state: %1").arg(systemMessage(GetLastError())));
    if (status.dwCurrentState != SERVICE_STOPPED)
        return;
    code = status.dwWin32ExitCode == ERROR_SERVICE_SPECIFIC_ERROR ? status.dwServiceSpecificExitCode
                                                                  : status.dwWin32ExitCode;
    finish(Outcome::Stopped);
}

#else

ServiceStart::~ServiceStart() = default;

// No service manager here: the updater then takes the elevated way.
void ServiceStart::start(const QString &serviceName, const QString &)
{
    QMetaObject::invokeMethod(this, [this, serviceName] {
        finish(Outcome::NotInstalled, QStringLiteral("%1: no services on this system").arg(serviceName));
    }, Qt::QueuedConnection);
}

bool ServiceStart::isStartable(const QString &)
{
    return false;
}

void ServiceStart::onPoll()
{
}

#endif

void ServiceStart::finish(Outcome outcome, const QString &error)
{
    poll.stop();
    result = outcome;
    this->error = error;
    emit finished();
}
