// Support for tests of the uninstaller's windows: the product's skin, and a
// script that drives a window of this process while it runs modally.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kalvex::test {

// Hands the toolkit the skin archive built into kalvex.exe, as start-up does;
// once per process.
void UseProductSkin();

// Drives a window of this process from a thread timer while it runs its own
// modal loop: once a window of the given class exists, each tick runs the
// next step with the window; a step answers false to be run again on the
// next tick (to wait for something). When a step waits 10 seconds, or the
// window is still open 10 seconds after the last step, it gets WM_CLOSE with
// kScriptTimedOut, which a modal run returns: a failing test ends instead of
// hanging, and its result tells why.
inline constexpr WPARAM kScriptTimedOut = 99;

class CWindowScript {
public:
    using Step = std::function<bool(HWND)>;
    CWindowScript(const wchar_t* className, std::vector<Step> steps, UINT tickMs = 150);
    ~CWindowScript();
    CWindowScript(const CWindowScript&) = delete;
    CWindowScript& operator=(const CWindowScript&) = delete;

    // The window's native title as last seen.
    const std::wstring& NativeTitle() const { return m_title; }
    // Steps that ran; fewer than given means the window never appeared or
    // closed early.
    size_t StepsRun() const { return m_next; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::wstring m_className;
    std::vector<Step> m_steps;
    std::wstring m_title;
    size_t m_next = 0;
    int m_idleTicks = 0;
    int m_idleLimit = 0;
    UINT_PTR m_timer = 0;
};

// A left click at a client point, as posted mouse messages.
void PostClick(HWND window, POINT point);
// A key press as a posted WM_KEYDOWN.
void PostKey(HWND window, WPARAM key);

}  // namespace kalvex::test
