// Holds a file open without sharing, as a virus scanner or a running program
// may, until it is killed; creates a second file once the first is held.
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    std::FILE *ready = std::fopen(argv[2], "wb");
    if (!ready || std::fclose(ready) != 0)
        return 1;
    Sleep(INFINITE);
    return 0;
}
