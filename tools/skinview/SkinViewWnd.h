// CSkinViewWnd: the viewer's one native window. Every load builds the layout
// with the real layout builder into a fresh CUIManager, exactly as the
// uninstaller builds its window, or shows an error page built in code when
// the skin does not build. Input reaches the skin through the manager's own
// message routing. Deciding when to load is the caller's (or, live, the
// folder watch's); writing pictures is HeadlessRender's.
// Invariant: the window's layered style, region and size come from the
// current manager alone; a load clears what the previous skin set.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/skinview/ViewerOptions.h"
#include "ui/core/Notify.h"
#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

namespace skinview {

class CSkinViewWnd : public DuiLib::CWindowWnd, public DuiLib::INotifyUI
{
public:
    // Posted by the folder watch when files of the skin changed.
    static constexpr UINT kSkinChangedMessage = WM_APP + 20;
    // Quiet time after the last change before the layout is built again, so
    // that a file saved in several writes is read once, whole.
    static constexpr UINT kReloadDelayMs = 250;

    explicit CSkinViewWnd(const CViewerOptions& options);
    ~CSkinViewWnd();

    const wchar_t* WindowClassName() const override;
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowDestroyed(HWND window) override;
    void ReceiveNotify(DuiLib::NotifyEvent& notification) override;

    // Creates the borderless window, hidden. Headless, it stands off screen,
    // is never activated, has no task bar button and keeps the virtual
    // mouse where HeadlessRender put it (the platform's leave and hover
    // reports about the real mouse are dropped). False when it cannot be made.
    bool Open(bool headless);
    // Builds the layout into a fresh manager and sizes the window: --size,
    // else the skin's "size", else 400 x 300. False when the skin did not
    // build; the window then shows the error page and LoadError tells why.
    bool Load();
    // Load, show, paint at once, and report on the standard error stream
    // (the build error, or each warning and image that failed) and in the
    // title. The folder watch's reloads run this too.
    bool LoadAndReport();
    // Paints the whole window now, as a WM_PAINT would, layered or not.
    void PaintNow();

    // The manager of the current content; null before the first load.
    DuiLib::CUIManager* Manager() const { return m_manager.get(); }
    const std::wstring& LoadError() const { return m_loadError; }
    // What the last load that built left out (a builder limit reached).
    const std::vector<std::wstring>& LoadWarnings() const { return m_loadWarnings; }
    // Whether the last load could not even read the layout file.
    bool LayoutUnreadable() const { return m_layoutUnreadable; }
    // True once the current content has been laid out ("windowinit").
    bool IsInitialised() const { return m_initialised; }

private:
    // Drops the current manager (stopping its frame clock) and the layered
    // style and region it gave the window, then starts a fresh manager.
    void ResetManager();
    // The root built from the skin, or null with m_loadError set.
    DuiLib::IControlUI* BuildSkin();
    void ShowErrorPage();
    void SizeWindow(SIZE wanted);
    void SetTitle(const std::wstring& detail);

    const CViewerOptions& m_options;
    std::unique_ptr<DuiLib::CUIManager> m_manager;
    bool m_headless = false;
    bool m_built = false;
    bool m_initialised = false;
    bool m_layoutUnreadable = false;
    std::wstring m_loadError;
    std::vector<std::wstring> m_loadWarnings;
    // The size of the last skin that built; the error page takes it over.
    SIZE m_shownSize = {0, 0};
};

}  // namespace skinview
