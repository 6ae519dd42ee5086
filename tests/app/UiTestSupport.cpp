#include "tests/app/UiTestSupport.h"

#include "app/ProductSkin.h"
#include "tests/app/TestSupport.h"
#include "ui/core/UIManager.h"

#include <gtest/gtest.h>

namespace kalvex::test {
namespace {

CWindowScript* s_running = nullptr;

}  // namespace

void UseProductSkin()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    DuiLib::CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    HMODULE exe = LoadLibraryExW(BesideTestProgram(L"..\\..\\app\\kalvex.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);
    ASSERT_TRUE(RegisterProductSkin(exe));
}

CWindowScript::CWindowScript(const wchar_t* className, std::vector<Step> steps, UINT tickMs)
    : m_className(className), m_steps(std::move(steps)), m_idleLimit(static_cast<int>(10000 / tickMs))
{
    s_running = this;
    m_timer = SetTimer(nullptr, 0, tickMs, &CWindowScript::Tick);
}

CWindowScript::~CWindowScript()
{
    KillTimer(nullptr, m_timer);
    s_running = nullptr;
}

void CALLBACK CWindowScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    CWindowScript* self = s_running;
    HWND window = self != nullptr ? FindWindowW(self->m_className.c_str(), nullptr) : nullptr;
    if (window == nullptr)
        return;
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    self->m_title = title;
    // Every step, and the time after the last, has the same bound: a step
    // that keeps waiting ends the run just as an open window does.
    if (self->m_next < self->m_steps.size() && self->m_steps[self->m_next](window)) {
        ++self->m_next;
        self->m_idleTicks = 0;
    } else if (++self->m_idleTicks > self->m_idleLimit) {
        PostMessageW(window, WM_CLOSE, kScriptTimedOut, 0);
        self->m_idleTicks = 0;
    }
}

void PostClick(HWND window, POINT point)
{
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(window, WM_MOUSEMOVE, 0, at);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void PostKey(HWND window, WPARAM key)
{
    PostMessageW(window, WM_KEYDOWN, key, 0);
}

}  // namespace kalvex::test
