// Helpers of the core tests: files built beside the test program (the test
// skin archives and the originals they were zipped from) and a real window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace DuiLib {
namespace test {

// The whole file name, relative to the test program's directory; empty when
// it cannot be read.
std::vector<BYTE> ReadBesideTests(const std::wstring& name);

// A hidden top-level window, destroyed with the object.
class CTestWindow
{
public:
    CTestWindow();
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;
    ~CTestWindow();
    HWND Handle() const { return m_window; }

private:
    HWND m_window;
};

}  // namespace test
}  // namespace DuiLib
