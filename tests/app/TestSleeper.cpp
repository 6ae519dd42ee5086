// A child process for the process tests: it only waits, so the tests can find
// and terminate it by name. Given a file, it holds it open meanwhile without
// delete sharing, as a running program holds its own files. It gives up by
// itself after a minute.
#include <windows.h>

int main(int argc, char** argv)
{
    HANDLE held = INVALID_HANDLE_VALUE;
    if (argc > 1)
        held = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    Sleep(60000);
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);
    return 7;
}
