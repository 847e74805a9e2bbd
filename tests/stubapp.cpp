// Stands in for Brenvoth.exe in the end-to-end test under wine: writes the
// arguments it was started with, one a line in UTF-8, to started-with.txt
// beside itself. They are read from the wide command line: argv holds them
// in the ANSI code page, where a name like "张伟" is lost.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
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

} // namespace

int main()
{
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, &path[0], DWORD(path.size())));
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"started-with.txt";
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::FILE *out = _wfopen(path.c_str(), L"wb");
    if (!argv || !out)
        return 1;
    for (int i = 1; i < argc; ++i)
        std::fprintf(out, "%s\n", utf8(argv[i]).c_str());
    LocalFree(argv);
    return std::fclose(out) == 0 ? 0 : 1;
}
