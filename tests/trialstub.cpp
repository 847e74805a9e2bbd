// Stands in for a new release's Brenvoth.exe on trial under wine. It notes
// its start in trial-started.txt beside itself, then ends as it was built
// to: at once with the status of an access violation (TRIAL_CRASH), after
// TRIAL_SECONDS with status 0, or, linked to a library that is not shipped
// (TRIAL_NEEDS_LIBRARY), never starts at all: Windows' loader ends it.
#include <windows.h>

#include <cstdio>
#include <string>

#ifdef TRIAL_NEEDS_LIBRARY
__declspec(dllimport) int trialLibrary();
#endif

int main()
{
#ifdef TRIAL_NEEDS_LIBRARY
    if (trialLibrary() != 0)
        return 1;
#endif
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], DWORD(path.size())));
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"trial-started.txt";
    std::FILE *out = _wfopen(path.c_str(), L"wb");
    if (!out || std::fclose(out) != 0)
        return 1;
#ifdef TRIAL_CRASH
    // The status an unhandled access violation ends a process with. A real
    // fault would start wine's debugger, which keeps the process alive.
    TerminateProcess(GetCurrentProcess(), EXCEPTION_ACCESS_VIOLATION);
#endif
    Sleep(TRIAL_SECONDS * 1000);
    return 0;
}
