// Stands in for Brenvoth.exe in the end-to-end test under wine: writes the
// arguments it was started with, one a line, to started-with.txt beside itself.
// With --hold FILE SECONDS READY it is a Brenvoth still closing instead: it
// keeps FILE open, sharing only reading, creates READY, and ends that many
// seconds later.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--hold") == 0) {
        const HANDLE held = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held == INVALID_HANDLE_VALUE)
            return 1;
        std::FILE *ready = std::fopen(argv[4], "wb");
        if (!ready || std::fclose(ready) != 0)
            return 1;
        Sleep(DWORD(std::atoi(argv[3])) * 1000);
        CloseHandle(held);
        return 0;
    }
    std::string path = argv[0];
    path = path.substr(0, path.find_last_of("\\/") + 1) + "started-with.txt";
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (!out)
        return 1;
    for (int i = 1; i < argc; ++i)
        std::fprintf(out, "%s\n", argv[i]);
    return std::fclose(out) == 0 ? 0 : 1;
}
