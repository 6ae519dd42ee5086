// Deletion that stays inside one directory whatever the disk holds. Every
// directory entered and every file deleted is opened first and its resolved
// (final) path compared with the path the walk expects; files go through the
// handle that was checked, never through a second lookup of their name. Links
// are removed as links or left in place, never walked into. The walk is
// iterative, so the depth of a tree costs heap, not stack; the files and
// links of one folder are removed by two threads.
#pragma once

#include "app/BatchHelper.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvex {

enum class RemovalOutcome {
    Removed,     // the entry is gone
    Missing,     // there was nothing of that name
    Deferred,    // in use: it, or what stays of it, goes at the next restart
    Unfinished,  // part of it stays: a link, an item elsewhere, a failure
    Stopped,     // the stop flag was raised; what is left stays
};

class CContainedRemover {
public:
    // Opens `rootDirectory` (absolute) and keeps its resolved path; every
    // later removal is measured against it. `stop`, when given, is read
    // between items.
    CContainedRemover(const std::wstring& rootDirectory, const std::atomic<bool>* stop);
    ~CContainedRemover();
    CContainedRemover(const CContainedRemover&) = delete;
    CContainedRemover& operator=(const CContainedRemover&) = delete;

    // The root's resolved path in "X:\..." or "\\server\share\..." form
    // (no trailing backslash); "" when the root could not be opened.
    std::wstring ResolvedRoot() const;

    // Removes the file or whole tree at `relativeName` below the root
    // (separators "\" or "/", no "." or ".." components; a trailing
    // separator is ignored). Unfinished when the root could not be opened.
    RemovalOutcome Remove(const std::wstring& relativeName);

    // Removes each of `relativeNames` as Remove does and in their order,
    // except that a run of consecutive plain files is removed by two threads
    // together: no entry is touched before every folder or link listed ahead
    // of it is done. An entry the stop flag left unstarted has no outcome.
    std::vector<std::optional<RemovalOutcome>> RemoveEach(const std::vector<std::wstring>& relativeNames);

private:
    // An item's whole path twice: as file calls and the log take it
    // ("\\?\X:\..."), and as the system names the object once it is open
    // ("\Device\...").
    struct ItemPath {
        std::wstring path;
        std::wstring object;
        ItemPath Child(const std::wstring& name) const { return {path + L"\\" + name, object + L"\\" + name}; }
    };
    struct Frame;
    using Entry = std::pair<std::wstring, DWORD>;  // name, attributes

    // A manifest name as the walk uses it ("a\b"), its whole path and its
    // attributes. Without attributes, `outcome` says why: missing, or
    // unfinished (empty name, root not open, attributes unreadable).
    struct Listed {
        std::wstring relative;
        ItemPath item;
        std::optional<DWORD> attributes;
        RemovalOutcome outcome = RemovalOutcome::Unfinished;
        bool IsPlainFile() const
        {
            return attributes && (*attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        }
    };
    using Run = std::vector<std::pair<std::size_t, Listed>>;  // manifest index, entry

    Listed Look(const std::wstring& relativeName) const;
    RemovalOutcome RemoveListed(const Listed& listed);
    // Removes a run of plain files on both threads, then empties it.
    void RemoveRun(Run& run, std::vector<std::optional<RemovalOutcome>>& outcomes);
    CBatchHelper& Helper();

    // Each item is opened by `name` below the open directory `parent` and
    // must resolve to `item`.
    RemovalOutcome RemoveFile(HANDLE parent, const std::wstring& name, const ItemPath& item, DWORD attributes);
    RemovalOutcome RemoveLink(HANDLE parent, const std::wstring& name, const ItemPath& item);
    RemovalOutcome RemoveTree(const std::wstring& relative, const ItemPath& item, DWORD attributes);
    std::optional<RemovalOutcome> EnterDirectory(HANDLE parent, const std::wstring& name, const ItemPath& item,
                                                 DWORD attributes, std::vector<Frame>& stack);
    void RemoveEntries(Frame& frame, const std::vector<Entry>& entries);
    RemovalOutcome FinishDirectory(Frame& frame);
    RemovalOutcome ScheduleAtRestart(const std::wstring& path);
    bool StopRequested() const { return m_stop != nullptr && m_stop->load(); }

    HANDLE m_root = INVALID_HANDLE_VALUE;
    std::wstring m_rootFinal;   // "\\?\" form, as the system reports it
    std::wstring m_rootObject;  // the system's own name of the open root
    const std::atomic<bool>* m_stop;
    std::unique_ptr<CBatchHelper> m_helper;  // made for the first folder big enough
    SRWLOCK m_scheduleLock = SRWLOCK_INIT;
};

}  // namespace kalvex
