// Holds a file open, as a virus scanner, a backup tool or a running program
// may, until it is killed; creates a second file once the first is held.
// "read" shares reading with others, as scanners and indexers do; without
// it nothing is shared.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 3 && !(argc == 4 && std::strcmp(argv[3], "read") == 0))
        return 2;
    const DWORD sharing = argc == 4 ? FILE_SHARE_READ : 0;
    const HANDLE held = CreateFileA(argv[1], GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    std::FILE *ready = std::fopen(argv[2], "wb");
    if (!ready || std::fclose(ready) != 0)
        return 1;
    Sleep(INFINITE);
    return 0;
}
