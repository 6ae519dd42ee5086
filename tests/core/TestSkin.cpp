// Helpers of the core tests: test files beside the program and real windows.
#include "TestSkin.h"

namespace DuiLib {
namespace test {

std::vector<BYTE> ReadBesideTests(const std::wstring& name)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    path.erase(path.find_last_of(L"\\/") + 1);
    path += name;

    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    if (size == INVALID_FILE_SIZE || !ReadFile(file, bytes.data(), size, &read, nullptr) || read != size)
        bytes.clear();
    CloseHandle(file);
    return bytes;
}

CTestWindow::CTestWindow()
    : m_window(CreateWindowExW(0, L"STATIC", L"core test", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr))
{
}

CTestWindow::~CTestWindow()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

}  // namespace test
}  // namespace DuiLib
