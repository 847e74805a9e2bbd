#include "windowsfiles.h"

#include <QDir>

#ifdef Q_OS_WIN
#include "runningprograms.h"

#include <QFileInfo>

#include <windows.h>
#include <restartmanager.h>

#include <string>
#include <vector>
#else
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#endif

#ifdef Q_OS_WIN
namespace {

// GCC warns of casts between function types, except through this one.
template <typename Function>
Function entry(HMODULE library, const char *name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// Loaded when first needed, from the system folder only: nothing new is linked.
struct RestartManager
{
    RestartManager()
    {
        const HMODULE library = LoadLibraryExW(L"rstrtmgr.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!library)
            return;
        start = entry<decltype(start)>(library, "RmStartSession");
        add = entry<decltype(add)>(library, "RmRegisterResources");
        list = entry<decltype(list)>(library, "RmGetList");
        end = entry<decltype(end)>(library, "RmEndSession");
    }
    bool isLoaded() const { return start && add && list && end; }

    DWORD(WINAPI *start)(DWORD *, DWORD, WCHAR[]) = nullptr;
    DWORD(WINAPI *add)(DWORD, UINT, LPCWSTR[], UINT, RM_UNIQUE_PROCESS[], UINT, LPCWSTR[]) = nullptr;
    DWORD(WINAPI *list)(DWORD, UINT *, UINT *, RM_PROCESS_INFO[], LPDWORD) = nullptr;
    DWORD(WINAPI *end)(DWORD) = nullptr;
};

QStringList holdersInSession(const RestartManager &manager, DWORD session, const QStringList &paths)
{
    std::vector<std::wstring> names;
    for (const QString &path : paths)
        names.push_back(QDir::toNativeSeparators(path).toStdWString());
    std::vector<LPCWSTR> files;
    for (const std::wstring &name : names)
        files.push_back(name.c_str());
    if (manager.add(session, UINT(files.size()), files.data(), 0, nullptr, 0, nullptr) != ERROR_SUCCESS)
        return {};
    std::vector<RM_PROCESS_INFO> found;
    UINT needed = 0;
    UINT count = 0;
    DWORD reasons = 0;
    DWORD result = ERROR_MORE_DATA;
    // The list may grow between asking its length and reading it.
    for (int attempt = 0; result == ERROR_MORE_DATA && attempt < 3; ++attempt) {
        found.resize(needed);
        count = needed;
        result = manager.list(session, &needed, &count, found.data(), &reasons);
    }
    QStringList programs;
    for (UINT i = 0; result == ERROR_SUCCESS && i < count && i < found.size(); ++i) {
        QString name = QFileInfo(WindowsFiles::imageOf(found[i].Process.dwProcessId)).fileName();
        if (name.isEmpty())
            name = QString::fromWCharArray(found[i].strAppName);
        if (!name.isEmpty() && !programs.contains(name, Qt::CaseInsensitive))
            programs << name;
    }
    return programs;
}

} // namespace

WindowsFiles::ErrorCode WindowsFiles::move(const QString &from, const QString &to)
{
    const std::wstring source = longPath(from).toStdWString();
    const std::wstring target = longPath(to).toStdWString();
    return MoveFileExW(source.c_str(), target.c_str(), 0) ? 0 : GetLastError();
}

// Denied access to a file that exists and is not read-only is a hold too
// (a replace onto a file opened without sharing the right to delete it),
// unless this user may not delete the file at all, as in a folder that is
// not theirs: that one would never pass.
bool WindowsFiles::isHeldByAnother(ErrorCode code, const QString &path)
{
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
        return true;
    if (code != ERROR_ACCESS_DENIED)
        return false;
    const std::wstring file = longPath(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const HANDLE probe = CreateFileW(file.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE)
        return GetLastError() != ERROR_ACCESS_DENIED;
    CloseHandle(probe);
    return true;
}

QStringList WindowsFiles::holders(const QStringList &paths)
{
    static const RestartManager manager;
    DWORD session = 0;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = {};
    if (paths.isEmpty() || !manager.isLoaded() || manager.start(&session, 0, key) != ERROR_SUCCESS)
        return {};
    const QStringList programs = holdersInSession(manager, session, paths);
    manager.end(session);
    return programs;
}

#else

WindowsFiles::ErrorCode WindowsFiles::move(const QString &from, const QString &to)
{
    const QByteArray target = QFile::encodeName(to);
    struct stat existing;
    if (lstat(target.constData(), &existing) == 0)
        return EEXIST;
    return std::rename(QFile::encodeName(from).constData(), target.constData()) == 0 ? 0 : ErrorCode(errno);
}

bool WindowsFiles::isHeldByAnother(ErrorCode, const QString &)
{
    return false;
}

QStringList WindowsFiles::holders(const QStringList &)
{
    return {};
}

#endif

// Windows takes a \\?\ path as it stands: it must already be clean.
QString WindowsFiles::longPath(const QString &path)
{
    QString slashed = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString prefix;
    if (slashed.startsWith(QLatin1String("//?/UNC/"))) {
        prefix = QStringLiteral("\\\\?\\UNC\\");
        slashed = slashed.mid(8);
    } else if (slashed.startsWith(QLatin1String("//?/"))) {
        prefix = QStringLiteral("\\\\?\\");
        slashed = slashed.mid(4);
    } else if (slashed.startsWith(QLatin1String("//"))) {
        prefix = QStringLiteral("\\\\?\\UNC\\");
        slashed = slashed.mid(2);
    } else if (slashed.size() >= 3 && slashed.at(0).isLetter() && slashed.at(1) == QLatin1Char(':')
               && slashed.at(2) == QLatin1Char('/')) {
        prefix = QStringLiteral("\\\\?\\");
    }
    return prefix + QDir::cleanPath(slashed).replace(QLatin1Char('/'), QLatin1Char('\\'));
}
