// Stands in for Brenvoth.exe in the end-to-end test under wine: writes the
// arguments it was started with, one a line, to started-with.txt beside itself.
#include <cstdio>
#include <string>

int main(int argc, char **argv)
{
    std::string path = argv[0];
    path = path.substr(0, path.find_last_of("\\/") + 1) + "started-with.txt";
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (!out)
        return 1;
    for (int i = 1; i < argc; ++i)
        std::fprintf(out, "%s\n", argv[i]);
    return std::fclose(out) == 0 ? 0 : 1;
}
