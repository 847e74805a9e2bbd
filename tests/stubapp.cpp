// Stands in for Brenvoth.exe in the end-to-end test under wine: writes the
// arguments it was started with, one a line in UTF-8, to started-with.txt
// beside itself. They are read from the wide command line: argv holds them
// in the ANSI code page, where a name like "张伟" is lost.
// With --hold FILE SECONDS READY it is a Brenvoth still closing instead: it
// keeps FILE open, sharing only reading, creates READY, and ends that many
// seconds later.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

int holdWhileClosing(const wchar_t *file, const wchar_t *seconds, const wchar_t *ready)
{
    const HANDLE held = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    std::FILE *readyFile = _wfopen(ready, L"wb");
    if (!readyFile || std::fclose(readyFile) != 0)
        return 1;
    Sleep(DWORD(_wtoi(seconds)) * 1000);
    CloseHandle(held);
    return 0;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        return 1;
    if (argc == 5 && std::wcscmp(argv[1], L"--hold") == 0) {
        const int held = holdWhileClosing(argv[2], argv[3], argv[4]);
        LocalFree(argv);
        return held;
    }
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], DWORD(path.size())));
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"started-with.txt";
    std::FILE *out = _wfopen(path.c_str(), L"wb");
    if (!out)
        return 1;
    for (int i = 1; i < argc; ++i)
        std::fprintf(out, "%s\n", utf8(argv[i]).c_str());
    LocalFree(argv);
    return std::fclose(out) == 0 ? 0 : 1;
}
