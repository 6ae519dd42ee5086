#include "app/ContainedRemover.h"

#include "app/FileHelpers.h"
#include "app/WriteLogFile.h"

#include <winternl.h>

#include <algorithm>

namespace kalvex {
namespace {

constexpr DWORD kFileAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
// A directory being walked is held without delete sharing, so nobody can
// rename it or swap a link in for it until the walk has left it.
constexpr DWORD kDirectoryAccess = kFileAccess | FILE_LIST_DIRECTORY;
constexpr DWORD kDirectoryShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kListingBytes = 64 * 1024;
// Below this many files a folder is not worth waking the helper thread for.
constexpr std::size_t kSharedBatchMinimum = 4;
// Manifest entries are looked at up to this many ahead of their removal (a
// run is searched whole for a repeated name).
constexpr std::size_t kRunLength = 64;

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// "a//b\c\" becomes "a\b\c": the form the system reports names in.
std::wstring NormalisedRelativeName(const std::wstring& name)
{
    std::wstring result;
    for (wchar_t c : name) {
        if (!IsSeparator(c))
            result.push_back(c);
        else if (!result.empty() && result.back() != L'\\')
            result.push_back(L'\\');
    }
    while (!result.empty() && result.back() == L'\\')
        result.pop_back();
    return result;
}

bool IsNotFoundError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The name the system keeps for the open object once every link on the way
// was resolved ("\Device\...\a\b"). Unlike GetFinalPathNameByHandleW
// it has no length limit under Wine, where that call fails past MAX_PATH.
std::wstring ObjectNameOf(HANDLE object)
{
    std::vector<unsigned char> buffer(4096);
    for (int attempt = 0; attempt < 4; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = NtQueryObject(object, ObjectNameInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed);
        if (status >= 0) {
            const auto* name = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data());
            return std::wstring(name->Name.Buffer, name->Name.Length / sizeof(wchar_t));
        }
        buffer.resize(needed > buffer.size() ? needed : buffer.size() * 2);
    }
    return std::wstring();
}

bool ResolvesTo(HANDLE object, const std::wstring& expectedName)
{
    return SamePathText(ObjectNameOf(object), expectedName);
}

// Opens `name` relative to the open directory `parent`, never following a
// link at its last component. Opening below a checked handle, instead of by
// the whole path, keeps every lookup to one step (the system does not look
// the parents up again) and ties it to the directory that was checked.
// INVALID_HANDLE_VALUE on failure, with the Win32 error in `error`.
HANDLE OpenBelow(HANDLE parent, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG options,
                 DWORD& error)
{
    UNICODE_STRING text = {};
    text.Buffer = const_cast<wchar_t*>(name.c_str());
    text.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    text.MaximumLength = text.Length;
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
    IO_STATUS_BLOCK status = {};
    HANDLE object = INVALID_HANDLE_VALUE;
    const NTSTATUS result =
        NtCreateFile(&object, access | SYNCHRONIZE, &attributes, &status, nullptr, 0, share, FILE_OPEN,
                     options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT,
                     nullptr, 0);
    if (result < 0) {
        error = RtlNtStatusToDosError(result);
        return INVALID_HANDLE_VALUE;
    }
    error = ERROR_SUCCESS;
    return object;
}

}  // namespace

// One directory of the walk: its handle, the subdirectories still to enter,
// and what keeps it: items in use (deferred) or anything else (blocked).
struct CContainedRemover::Frame {
    ItemPath item;
    HANDLE handle;
    DWORD attributes;
    std::vector<Entry> subdirectories;
    bool deferred = false;
    bool blocked = false;

    void Note(RemovalOutcome child)
    {
        deferred = deferred || child == RemovalOutcome::Deferred;
        blocked = blocked || child == RemovalOutcome::Unfinished || child == RemovalOutcome::Stopped;
    }
};

CContainedRemover::CContainedRemover(const std::wstring& rootDirectory, const std::atomic<bool>* stop)
    : m_stop(stop)
{
    // The root itself may lie behind a link the user chose; it is resolved
    // once, and everything below is expected exactly where it resolves to.
    m_root = CreateFileW(rootDirectory.c_str(), FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY | FILE_TRAVERSE |
                         SYNCHRONIZE, kDirectoryShare, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (m_root != INVALID_HANDLE_VALUE) {
        m_rootFinal = FinalPathOf(m_root);
        m_rootObject = ObjectNameOf(m_root);
    }
    for (std::wstring* name : {&m_rootFinal, &m_rootObject}) {
        while (!name->empty() && name->back() == L'\\')
            name->pop_back();
    }
}

CContainedRemover::~CContainedRemover()
{
    if (m_root != INVALID_HANDLE_VALUE)
        CloseHandle(m_root);
}

std::wstring CContainedRemover::ResolvedRoot() const
{
    return PlainFormOfFinalPath(m_rootFinal);
}

CContainedRemover::Listed CContainedRemover::Look(const std::wstring& relativeName) const
{
    Listed listed;
    listed.relative = NormalisedRelativeName(relativeName);
    if (m_rootFinal.empty() || m_rootObject.empty() || listed.relative.empty())
        return listed;
    listed.item = {m_rootFinal + L"\\" + listed.relative, m_rootObject + L"\\" + listed.relative};
    const DWORD attributes = GetFileAttributesW(listed.item.path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        listed.attributes = attributes;
        return listed;
    }
    const DWORD error = GetLastError();
    if (IsNotFoundError(error))
        listed.outcome = RemovalOutcome::Missing;
    else
        ProcessLog().Write(0, L"removal: cannot read %ls (error %lu)", listed.item.path.c_str(), error);
    return listed;
}

RemovalOutcome CContainedRemover::RemoveListed(const Listed& listed)
{
    if (!listed.attributes)
        return listed.outcome;
    if ((*listed.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return RemoveLink(m_root, listed.relative, listed.item);
    if ((*listed.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return RemoveTree(listed.relative, listed.item, *listed.attributes);
    return RemoveFile(m_root, listed.relative, listed.item, *listed.attributes);
}

RemovalOutcome CContainedRemover::Remove(const std::wstring& relativeName)
{
    return RemoveListed(Look(relativeName));
}

std::vector<std::optional<RemovalOutcome>> CContainedRemover::RemoveEach(const std::vector<std::wstring>& relativeNames)
{
    std::vector<std::optional<RemovalOutcome>> outcomes(relativeNames.size());
    Run run;
    for (std::size_t next = 0; next < relativeNames.size() && !StopRequested();) {
        Listed listed = Look(relativeNames[next]);
        // A run ends before anything that is not a plain file and before a
        // name it already holds, so no two threads ever work on one item.
        // A repeated name is looked at again once the run is done.
        const bool plain = listed.IsPlainFile();
        const bool repeated = plain && std::any_of(run.begin(), run.end(), [&](const auto& held) {
                                  return SamePathText(held.second.relative, listed.relative);
                              });
        if (!plain || repeated)
            RemoveRun(run, outcomes);
        if (repeated)
            continue;
        if (plain) {
            run.emplace_back(next, std::move(listed));
            if (run.size() == kRunLength)
                RemoveRun(run, outcomes);
        } else {
            outcomes[next] = RemoveListed(listed);
        }
        ++next;
    }
    RemoveRun(run, outcomes);
    return outcomes;
}

void CContainedRemover::RemoveRun(Run& run, std::vector<std::optional<RemovalOutcome>>& outcomes)
{
    if (run.empty())
        return;
    Helper().Run(run.size(), [&](std::size_t index) {
        if (!StopRequested())
            outcomes[run[index].first] = RemoveListed(run[index].second);
    });
    run.clear();
}

CBatchHelper& CContainedRemover::Helper()
{
    if (m_helper == nullptr)
        m_helper = std::make_unique<CBatchHelper>();
    return *m_helper;
}

RemovalOutcome CContainedRemover::RemoveFile(HANDLE parent, const std::wstring& name, const ItemPath& item,
                                             DWORD attributes)
{
    DWORD error = ERROR_SUCCESS;
    HANDLE file = OpenBelow(parent, name, kFileAccess, kShareAll, FILE_NON_DIRECTORY_FILE, error);
    if (file == INVALID_HANDLE_VALUE) {
        if (IsNotFoundError(error))
            return RemovalOutcome::Missing;
        // Held open by another process: it is scheduled only when a handle
        // that needs no sharing confirms the name is the file itself.
        DWORD probeError = ERROR_SUCCESS;
        HANDLE probe = OpenBelow(parent, name, FILE_READ_ATTRIBUTES, kShareAll, 0, probeError);
        const bool itself = probe != INVALID_HANDLE_VALUE && ResolvesTo(probe, item.object);
        if (probe != INVALID_HANDLE_VALUE)
            CloseHandle(probe);
        if (itself && IsInUseError(error))
            return ScheduleAtRestart(item.path);
        ProcessLog().Write(0, L"removal: cannot open %ls (error %lu)", item.path.c_str(), error);
        return RemovalOutcome::Unfinished;
    }
    // A link to a file can look like a plain file (Wine shows no reparse
    // attribute, and deleting through it deletes its target): only the
    // resolved path tells.
    if (!ResolvesTo(file, item.object)) {
        CloseHandle(file);
        ProcessLog().Write(0, L"removal: %ls resolves elsewhere; left in place", item.path.c_str());
        return RemovalOutcome::Unfinished;
    }
    const bool deleted = DeleteOpenedItem(file, attributes);
    error = GetLastError();
    CloseHandle(file);
    if (deleted)
        return RemovalOutcome::Removed;
    if (IsInUseError(error))
        return ScheduleAtRestart(item.path);
    ProcessLog().Write(0, L"removal: cannot delete %ls (error %lu)", item.path.c_str(), error);
    return RemovalOutcome::Unfinished;
}

RemovalOutcome CContainedRemover::RemoveLink(HANDLE parent, const std::wstring& name, const ItemPath& item)
{
    // Opened without following, a symbolic link, junction or mount point is
    // the link itself, and deleting through the handle removes just the
    // link. Wine opens the target instead (and its RemoveDirectoryW deletes
    // an empty target): the resolved path tells, and such a link stays.
    DWORD error = ERROR_SUCCESS;
    HANDLE link = OpenBelow(parent, name, kFileAccess, kShareAll, 0, error);
    const bool itself = link != INVALID_HANDLE_VALUE && ResolvesTo(link, item.object);
    const bool removed = itself && DeleteOpenedItem(link, 0);
    if (link != INVALID_HANDLE_VALUE)
        CloseHandle(link);
    if (removed)
        return RemovalOutcome::Removed;
    if (link == INVALID_HANDLE_VALUE && IsNotFoundError(error))
        return RemovalOutcome::Missing;
    ProcessLog().Write(0, L"removal: link %ls could not be removed as a link; left in place", item.path.c_str());
    return RemovalOutcome::Unfinished;
}

RemovalOutcome CContainedRemover::RemoveTree(const std::wstring& relative, const ItemPath& item, DWORD attributes)
{
    std::vector<Frame> stack;
    RemovalOutcome outcome =
        EnterDirectory(m_root, relative, item, attributes, stack).value_or(RemovalOutcome::Removed);
    while (!stack.empty()) {
        if (StopRequested()) {
            for (Frame& frame : stack)
                CloseHandle(frame.handle);
            return RemovalOutcome::Stopped;
        }
        const std::size_t top = stack.size() - 1;
        if (!stack[top].subdirectories.empty()) {
            const auto [name, attributes] = stack[top].subdirectories.back();
            stack[top].subdirectories.pop_back();
            if (const std::optional<RemovalOutcome> notEntered = EnterDirectory(
                    stack[top].handle, name, stack[top].item.Child(name), attributes, stack))
                stack[top].Note(*notEntered);
            continue;
        }
        outcome = FinishDirectory(stack[top]);
        stack.pop_back();
        if (!stack.empty())
            stack.back().Note(outcome);
    }
    return outcome;
}

// Opens and checks one directory, deletes its files and links, and pushes a
// frame holding its subdirectories. Nothing when it was entered; otherwise
// what became of it (missing, or left because it resolves elsewhere or
// cannot be opened).
std::optional<RemovalOutcome> CContainedRemover::EnterDirectory(HANDLE parent, const std::wstring& name,
                                                                const ItemPath& item, DWORD attributes,
                                                                std::vector<Frame>& stack)
{
    DWORD error = ERROR_SUCCESS;
    HANDLE directory = OpenBelow(parent, name, kDirectoryAccess, kDirectoryShare, FILE_DIRECTORY_FILE, error);
    if (directory == INVALID_HANDLE_VALUE) {
        if (IsNotFoundError(error))
            return RemovalOutcome::Missing;
        ProcessLog().Write(0, L"removal: cannot open folder %ls (error %lu)", item.path.c_str(), error);
        return RemovalOutcome::Unfinished;
    }
    if (!ResolvesTo(directory, item.object)) {
        CloseHandle(directory);
        ProcessLog().Write(0, L"removal: folder %ls resolves elsewhere; left in place", item.path.c_str());
        return RemovalOutcome::Unfinished;
    }
    stack.push_back(Frame{item, directory, attributes, {}, false, false});
    Frame& frame = stack.back();

    // Listed through the handle that was checked: a search by name would
    // need delete sharing, which this handle denies. Subdirectories wait for
    // their own frame, so that only one chain of directory handles is open
    // at a time; files and links go once the listing is complete.
    std::vector<Entry> entries;
    std::vector<unsigned char> buffer(kListingBytes);
    FILE_INFO_BY_HANDLE_CLASS listing = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(directory, listing, buffer.data(), static_cast<DWORD>(buffer.size()))) {
        listing = FileIdBothDirectoryInfo;
        for (DWORD offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer.data() + offset);
            std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            const bool subdirectory = (entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                                      (entry->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
            if (name != L"." && name != L"..")
                (subdirectory ? frame.subdirectories : entries).emplace_back(std::move(name), entry->FileAttributes);
            if (entry->NextEntryOffset == 0)
                break;
            offset += entry->NextEntryOffset;
        }
    }
    RemoveEntries(frame, entries);
    return std::nullopt;
}

// The outcomes are noted in listing order, whichever thread removed what.
void CContainedRemover::RemoveEntries(Frame& frame, const std::vector<Entry>& entries)
{
    std::vector<RemovalOutcome> outcomes(entries.size(), RemovalOutcome::Stopped);
    const CBatchHelper::Job removeOne = [&](std::size_t index) {
        if (StopRequested())
            return;
        const auto& [name, attributes] = entries[index];
        outcomes[index] = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
                              ? RemoveLink(frame.handle, name, frame.item.Child(name))
                              : RemoveFile(frame.handle, name, frame.item.Child(name), attributes);
    };
    if (entries.size() < kSharedBatchMinimum) {
        for (std::size_t index = 0; index < entries.size(); ++index)
            removeOne(index);
    } else {
        Helper().Run(entries.size(), removeOne);
    }
    for (RemovalOutcome outcome : outcomes)
        frame.Note(outcome);
}

// Deletes a directory whose content has been dealt with, through its own
// handle, and closes it. A directory kept only by items in use is scheduled
// after them, so the restart removes it too.
RemovalOutcome CContainedRemover::FinishDirectory(Frame& frame)
{
    if (frame.blocked) {
        CloseHandle(frame.handle);
        return RemovalOutcome::Unfinished;
    }
    const bool removed = !frame.deferred && DeleteOpenedItem(frame.handle, frame.attributes);
    const DWORD error = GetLastError();
    CloseHandle(frame.handle);
    if (removed)
        return RemovalOutcome::Removed;
    if (frame.deferred || IsInUseError(error))
        return ScheduleAtRestart(frame.item.path);
    ProcessLog().Write(0, L"removal: cannot delete folder %ls (error %lu)", frame.item.path.c_str(), error);
    return RemovalOutcome::Unfinished;
}

RemovalOutcome CContainedRemover::ScheduleAtRestart(const std::wstring& path)
{
    // The system keeps every pending deletion in one registry value that it
    // reads and writes back whole, so two threads scheduling at once lose
    // entries (or fail) unless they take turns.
    AcquireSRWLockExclusive(&m_scheduleLock);
    const bool scheduled = ScheduleDeleteAtRestart(path);
    const DWORD error = GetLastError();
    ReleaseSRWLockExclusive(&m_scheduleLock);
    if (scheduled) {
        ProcessLog().Write(0, L"removal: %ls is in use; it is deleted at the next restart", path.c_str());
        return RemovalOutcome::Deferred;
    }
    ProcessLog().Write(0, L"removal: %ls is in use and could not be scheduled (error %lu)", path.c_str(), error);
    return RemovalOutcome::Unfinished;
}

}  // namespace kalvex
