// Holds a file the way another Windows program does, until its standard input closes;
// the tests of Windows' sharing rules start it (tests/support/HeldFile.h). It prints
// "held" once it holds the file.
//   HoldFile.exe alone PATH     opened for reading and writing, shared with nobody
//   HoldFile.exe readers PATH   opened for reading, others may only read it as well
//   HoldFile.exe locked PATH    opened with every sharing, its first 2 GiB locked against
//                               writes (a shared lock: others may still read them)
#include <cstdio>
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    const std::wstring way = argc == 3 ? argv[1] : L"";
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    if (way == L"alone") {
        sharing = 0;
    } else if (way == L"readers") {
        access = GENERIC_READ;
        sharing = FILE_SHARE_READ;
    } else if (way != L"locked") {
        std::fputs("usage: HoldFile alone|readers|locked PATH\n", stderr);
        return 2;
    }
    const HANDLE file = CreateFileW(argv[2], access, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "HoldFile: cannot open (error %lu)\n", GetLastError());
        return 1;
    }
    OVERLAPPED from{};
    if (way == L"locked" &&
        !LockFileEx(file, LOCKFILE_FAIL_IMMEDIATELY, 0, 0x80000000u, 0, &from)) {
        std::fprintf(stderr, "HoldFile: cannot lock (error %lu)\n", GetLastError());
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    CloseHandle(file);
    return 0;
}
