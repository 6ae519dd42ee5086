// The change notifications of every folder of the tree, waited on together
// with a stop event, so Stop never has to kill the thread. Each folder has a
// handle of its own because Wine does not report changes below the top
// folder to a subtree watch; after each change the set is opened again, so
// folders made since are watched too.
#include "tools/skinview/FolderWatch.h"

namespace skinview {

namespace {

// Sizes and times catch a file rewritten in place; names catch editors that
// save to a new file and rename it over the old one, and new folders.
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                           FILE_NOTIFY_CHANGE_LAST_WRITE;

// Appends folder and the folders below it, breadth first, up to limit;
// reparse points (links, junctions) are left out, so no loop is followed.
void CollectFolders(const std::wstring& top, size_t limit, std::vector<std::wstring>& folders)
{
    folders.push_back(top);
    for (size_t next = 0; next < folders.size() && folders.size() < limit; ++next)
    {
        const std::wstring parent = folders[next];
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((parent + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do
        {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
                (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || name == L"." || name == L"..")
                continue;
            if (folders.size() < limit)
                folders.push_back(parent + L"\\" + name);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
}

}  // namespace

bool CFolderWatch::Start(const std::wstring& folder, HWND target, UINT message)
{
    Stop();
    m_folder = folder;
    while (!m_folder.empty() && (m_folder.back() == L'\\' || m_folder.back() == L'/'))
        m_folder.pop_back();
    m_target = target;
    m_message = message;
    if (!OpenChanges())
        return false;
    m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (m_stop != nullptr)
        m_thread = CreateThread(nullptr, 0, &CFolderWatch::Run, this, 0, nullptr);
    if (m_thread == nullptr)
    {
        Stop();
        return false;
    }
    return true;
}

void CFolderWatch::Stop()
{
    if (m_thread != nullptr)
    {
        SetEvent(m_stop);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    if (m_stop != nullptr)
        CloseHandle(m_stop);
    m_stop = nullptr;
    CloseChanges();
}

bool CFolderWatch::OpenChanges()
{
    std::vector<std::wstring> folders;
    CollectFolders(m_folder, kMaxFolders, folders);
    for (const std::wstring& folder : folders)
    {
        HANDLE change = FindFirstChangeNotificationW(folder.c_str(), FALSE, kChanges);
        if (change != INVALID_HANDLE_VALUE)
            m_changes.push_back(change);
        else if (m_changes.empty())
            return false;
    }
    return true;
}

void CFolderWatch::CloseChanges()
{
    for (HANDLE change : m_changes)
        FindCloseChangeNotification(change);
    m_changes.clear();
}

DWORD WINAPI CFolderWatch::Run(void* self)
{
    CFolderWatch& watch = *static_cast<CFolderWatch*>(self);
    for (;;)
    {
        std::vector<HANDLE> waits(1, watch.m_stop);
        waits.insert(waits.end(), watch.m_changes.begin(), watch.m_changes.end());
        const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), FALSE, INFINITE);
        if (woken <= WAIT_OBJECT_0 || woken >= WAIT_OBJECT_0 + waits.size())
            return 0;
        watch.CloseChanges();
        PostMessageW(watch.m_target, watch.m_message, 0, 0);
        if (!watch.OpenChanges())
            return 0;
    }
}

}  // namespace skinview
