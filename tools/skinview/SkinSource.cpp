// Opening a skin source through the toolkit's skin settings and the
// product's own skin registration; the archive bytes are kept for the life
// of the process, as the toolkit requires.
#include "tools/skinview/SkinSource.h"

#include <windows.h>

#include "app/ProductSkin.h"
#include "ui/markup/SkinLocation.h"
#include "ui/core/UIManager.h"
#include "ui/markup/XmlDocument.h"

namespace skinview {

namespace {

using DuiLib::SkinReadStatus;

// Largest archive read: skins are a few megabytes, and a block this size is
// about what a 32-bit process can still find in one piece.
constexpr unsigned kMaxArchiveBytes = 256u * 1024u * 1024u;

// Why a read failed, in the words a skin author understands.
const wchar_t* StatusText(SkinReadStatus status)
{
    switch (status)
    {
    case SkinReadStatus::Ok: return L"";
    case SkinReadStatus::OpenFailed: return L"the file cannot be opened";
    case SkinReadStatus::Empty: return L"the file is empty";
    case SkinReadStatus::TooLarge: return L"the file is too large";
    case SkinReadStatus::ReadShort: return L"the file could not be read whole";
    case SkinReadStatus::ZipOpenFailed: return L"the archive cannot be opened";
    case SkinReadStatus::EntryNotFound: return L"the archive has no such entry";
    case SkinReadStatus::UnzipFailed: return L"the entry cannot be deciphered or unpacked (wrong password?)";
    case SkinReadStatus::OutOfMemory: return L"out of memory";
    }
    return L"unknown failure";
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(full) : path;
}

bool OpenExecutable(const std::wstring& path, const std::string* password, std::wstring& error)
{
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
    {
        error = path + L" cannot be loaded as an executable";
        return false;
    }
    // The resource is copied out, so the module is not needed afterwards.
    const bool found =
        kalvex::RegisterProductSkin(module, password != nullptr ? password->c_str() : kalvex::kSkinPassword);
    FreeLibrary(module);
    if (!found)
    {
        error = path + L" carries no skin archive";
        return false;
    }
    return true;
}

bool OpenArchive(const std::wstring& path, const std::string* password, std::wstring& error)
{
    BYTE* bytes = nullptr;
    unsigned size = 0;
    const SkinReadStatus status =
        DuiLib::ReadFileBytes(path.c_str(), kMaxArchiveBytes, bytes, size);
    if (status != SkinReadStatus::Ok)
    {
        error = path + L": " + StatusText(status);
        return false;
    }
    // The toolkit reads the archive from this block for the life of the
    // process, so it is never freed.
    DuiLib::CUIManager::SetSkinZipFromMemory(bytes, size, password != nullptr ? password->c_str() : nullptr);
    return true;
}

}  // namespace

bool OpenSkinSource(const std::wstring& path, const std::string* password, SkinSource& source, std::wstring& error)
{
    source.path = FullPath(path);
    const DWORD attributes = GetFileAttributesW(source.path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
        error = source.path + L" does not exist";
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    {
        source.kind = SkinSourceKind::Folder;
        DuiLib::CUIManager::SetSkinFolder(source.path.c_str());
        return true;
    }

    // The first two bytes tell an executable ("MZ") from anything else.
    char magic[2] = {};
    DWORD read = 0;
    HANDLE file = CreateFileW(source.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
    {
        ReadFile(file, magic, sizeof(magic), &read, nullptr);
        CloseHandle(file);
    }
    if (read == sizeof(magic) && magic[0] == 'M' && magic[1] == 'Z')
    {
        source.kind = SkinSourceKind::Executable;
        if (!OpenExecutable(source.path, password, error))
            return false;
    }
    else
    {
        source.kind = SkinSourceKind::Archive;
        if (!OpenArchive(source.path, password, error))
            return false;
    }
    if (DuiLib::CUIManager::GetSkinZipHandle() == nullptr)
    {
        error = source.path + L": the skin archive is damaged or no zip archive";
        return false;
    }
    return true;
}

std::wstring CheckLayoutReadable(const std::wstring& xml)
{
    BYTE* bytes = nullptr;
    unsigned size = 0;
    const SkinReadStatus status = DuiLib::SkinLocation::Current().ReadSkinFile(
        xml.c_str(), DuiLib::CXmlDocument::kMaxSkinFileBytes, bytes, size);
    delete[] bytes;
    if (status == SkinReadStatus::Ok)
        return std::wstring();
    return xml + L" cannot be opened: " + StatusText(status);
}

}  // namespace skinview
