// Holds a file open without sharing, as a running program holds its own
// executable, so that nobody else can write, replace or delete it; or, with
// /list, holds a folder open for listing, shared for reading only, as a
// program browsing the folder may, so that nobody else can open the folder
// for writing.
//   holdfile.exe <path> <seconds>
//   holdfile.exe /list <folder> <seconds>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/Handles.h"

int main(int argc, char** argv) {
    const bool list = argc == 4 && std::strcmp(argv[1], "/list") == 0;
    if (argc != 3 && !list) {
        std::fprintf(stderr, "usage: holdfile <path> <seconds> | holdfile /list <folder> <seconds>\n");
        return 2;
    }
    const char* path = argv[list ? 2 : 1];
    const fw::unique_hfile held(
        list ? CreateFileA(path, FILE_LIST_DIRECTORY, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr)
             : CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held) {
        std::fprintf(stderr, "holdfile: cannot open %s (error %lu)\n", path,
                     static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::strtoul(argv[list ? 3 : 2], nullptr, 10)) * 1000);
    return 0;
}
