#include "servicerun.h"
#include "applyforuser.h"
#include "machineinstall.h"
#include "servicesetup.h"

#include <QString>

#include <windows.h>

namespace {

QByteArray keys;
SERVICE_STATUS_HANDLE statusHandle = nullptr;

void report(DWORD state, quint32 exitCode)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwWin32ExitCode = exitCode == 0 ? NO_ERROR : ERROR_SERVICE_SPECIFIC_ERROR;
    status.dwServiceSpecificExitCode = exitCode;
    SetServiceStatus(statusHandle, &status);
}

DWORD WINAPI onControl(DWORD, DWORD, void *, void *)
{
    return NO_ERROR;
}

void WINAPI serviceMain(DWORD argc, wchar_t **argv)
{
    statusHandle = RegisterServiceCtrlHandlerExW(argv[0], onControl, nullptr);
    if (!statusHandle)
        return;
    report(SERVICE_RUNNING, 0);
    const QString request = argc == 2 ? QString::fromWCharArray(argv[1]) : QString();
    report(SERVICE_STOPPED, applyForUser(ServiceSetup::configuredFolder(), request, keys));
}

} // namespace

namespace ServiceRun {

bool run(const QByteArray &publicKeys)
{
    keys = publicKeys;
    std::wstring name = MachineInstall::serviceName().toStdWString();
    const SERVICE_TABLE_ENTRYW table[] = {{&name[0], serviceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherW(table);
}

} // namespace ServiceRun
