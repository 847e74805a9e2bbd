#include "fileholders.h"

#ifdef Q_OS_WIN
#include "runningprograms.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>
#include <restartmanager.h>

#include <string>
#include <vector>

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

QStringList WindowsFiles::holders(const QStringList &)
{
    return {};
}

#endif
