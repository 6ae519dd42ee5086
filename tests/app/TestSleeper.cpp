// A child process for the process tests: it only waits, so the tests can find
// and terminate it by name. It gives up by itself after a minute.
#include <windows.h>

int main()
{
    Sleep(60000);
    return 7;
}
