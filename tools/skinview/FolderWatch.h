// CFolderWatch: tells a window that something in a folder tree changed (a
// file written, created, renamed or deleted), by posting it a message from a
// thread of its own that waits on the platform's change notifications. What
// a change means, and how many changes make one reload, is the window's.
// Invariant: the thread is gone before the watch is destroyed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace skinview {

class CFolderWatch
{
public:
    // Folders watched at most: the platform waits on at most 64 handles,
    // one of which is the stop event.
    static constexpr size_t kMaxFolders = MAXIMUM_WAIT_OBJECTS - 1;

    CFolderWatch() = default;
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;
    ~CFolderWatch() { Stop(); }

    // Watches folder and the folders below it (links are not followed; past
    // kMaxFolders the rest goes unwatched), posting message to target once
    // per change the platform reports. False, watching nothing, when folder
    // cannot be watched or the thread not started; a running watch is
    // stopped first.
    bool Start(const std::wstring& folder, HWND target, UINT message);
    // Ends the watch and waits for its thread; nothing when none runs.
    void Stop();

private:
    static DWORD WINAPI Run(void* self);
    // One change handle per folder of the tree, the top folder first; false
    // when not even the top folder can be watched.
    bool OpenChanges();
    void CloseChanges();

    std::wstring m_folder;
    std::vector<HANDLE> m_changes;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_target = nullptr;
    UINT m_message = 0;
};

}  // namespace skinview
