#include "servicesetup.h"
#include "machineinstall.h"
#include "programfolders.h"
#include "servicesecurity.h"

#include <QCoreApplication>
#include <QDir>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace {

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

QString failed(const QString &what)
{
    return QStringLiteral("%1: system error %2").arg(what).arg(GetLastError());
}

bool liesUnderProgramFiles(const QString &folder)
{
    for (const QString &programFiles : ProgramFolders::programFiles()) {
        if (ProgramFolders::isWithin(folder, programFiles) && folder.size() > programFiles.size() + 1)
            return true;
    }
    return false;
}

} // namespace

namespace ServiceSetup {

// The folder made or taken over, then given its own owner and access, so
// that nothing a user made there before decides who may write it.
bool secureStateFolder(QString *error)
{
    const QString folder = MachineInstall::stateDir();
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        *error = QStringLiteral("%1 cannot be made").arg(folder);
        return false;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(ServiceSecurity::folderAccess, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        *error = failed(QStringLiteral("the folder's access"));
        return false;
    }
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    PSID owner = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
    std::wstring path = QDir::toNativeSeparators(folder).toStdWString();
    const DWORD status = SetNamedSecurityInfoW(&path[0], SE_FILE_OBJECT,
                                               OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION
                                                   | PROTECTED_DACL_SECURITY_INFORMATION,
                                               owner, nullptr, dacl, nullptr);
    LocalFree(descriptor);
    if (status != ERROR_SUCCESS) {
        *error = QStringLiteral("%1: setting its access failed with system error %2").arg(folder).arg(status);
        return false;
    }
    return true;
}

} // namespace ServiceSetup

namespace {

bool writeSetting(const QString &folder, QString *error)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide(MachineInstall::settingsKey()), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS) {
        *error = QStringLiteral("HKLM\\%1 cannot be written").arg(MachineInstall::settingsKey());
        return false;
    }
    const QString value = QDir::toNativeSeparators(folder);
    const LSTATUS status = RegSetValueExW(key, wide(MachineInstall::folderSetting()), 0, REG_SZ,
                                          reinterpret_cast<const BYTE *>(value.utf16()),
                                          DWORD((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        *error = QStringLiteral("the setting %1 cannot be written").arg(MachineInstall::folderSetting());
    return status == ERROR_SUCCESS;
}

bool registerService(QString *error)
{
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    if (!manager) {
        *error = failed(QStringLiteral("the service manager"));
        return false;
    }
    // Quoted: a path with spaces would otherwise be tried piece by piece.
    const QString command = QLatin1Char('"') + QDir::toNativeSeparators(QCoreApplication::applicationFilePath())
                            + QLatin1Char('"');
    SC_HANDLE service = CreateServiceW(manager, wide(MachineInstall::serviceName()), L"Brenvoth Update Service",
                                       SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                       SERVICE_ERROR_NORMAL, wide(command), nullptr, nullptr, nullptr, nullptr,
                                       nullptr);
    if (!service && GetLastError() == ERROR_SERVICE_EXISTS) {
        service = OpenServiceW(manager, wide(MachineInstall::serviceName()), SERVICE_ALL_ACCESS);
        if (service && !ChangeServiceConfigW(service, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                             SERVICE_ERROR_NORMAL, wide(command), nullptr, nullptr, nullptr,
                                             L"LocalSystem", nullptr, L"Brenvoth Update Service")) {
            CloseServiceHandle(service);
            service = nullptr;
        }
    }
    bool secured = false;
    if (service) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        secured = ConvertStringSecurityDescriptorToSecurityDescriptorW(ServiceSecurity::serviceAccess,
                                                                       SDDL_REVISION_1, &descriptor, nullptr)
                  && SetServiceObjectSecurity(service, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
    }
    if (!secured)
        *error = failed(QStringLiteral("the service %1").arg(MachineInstall::serviceName()));
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return secured;
}

void stopAndDelete(SC_HANDLE service)
{
    SERVICE_STATUS status = {};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    DeleteService(service);
}

} // namespace

namespace ServiceSetup {

bool install(QString *error)
{
    const QString folder = QCoreApplication::applicationDirPath();
    if (!liesUnderProgramFiles(folder)) {
        *error = QStringLiteral("%1 does not lie under Program Files: the service updates no other folder")
                     .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return secureStateFolder(error) && writeSetting(folder, error) && registerService(error);
}

bool uninstall(QString *error)
{
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE service = manager ? OpenServiceW(manager, wide(MachineInstall::serviceName()),
                                                     SERVICE_STOP | DELETE)
                                      : nullptr;
    const DWORD lastError = GetLastError();
    if (service) {
        stopAndDelete(service);
        CloseServiceHandle(service);
    }
    if (manager)
        CloseServiceHandle(manager);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, wide(MachineInstall::settingsKey()));
    const QString state = MachineInstall::stateDir();
    if (!state.isEmpty())
        QDir(state).removeRecursively();
    if (!service && lastError != ERROR_SERVICE_DOES_NOT_EXIST) {
        *error = QStringLiteral("the service %1 cannot be removed: system error %2")
                     .arg(MachineInstall::serviceName()).arg(lastError);
        return false;
    }
    return true;
}

QString configuredFolder()
{
    wchar_t value[MAX_PATH + 1] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, wide(MachineInstall::settingsKey()), wide(MachineInstall::folderSetting()),
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return QString();
    const QString folder = QDir::fromNativeSeparators(QString::fromWCharArray(value));
    return liesUnderProgramFiles(folder) ? folder : QString();
}

} // namespace ServiceSetup
