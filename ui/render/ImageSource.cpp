// ImageSource: fetching encoded image bytes from a module resource, the skin
// folder, the skin zip (through CSkinArchive) or the name as a path, in that
// order of preference. Every buffer and every temporarily opened zip is
// released on every path.
#include "ui/render/ImageSource.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

#include "ui/core/SkinArchive.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace {

// stb_image measures its input with an int, so a larger file cannot be
// decoded; a 32-bit process could not hold it anyway.
constexpr LONGLONG kMaxImageFileBytes = INT_MAX;

void Discard(BYTE*& bytes, unsigned& size)
{
    delete[] bytes;
    bytes = nullptr;
    size = 0;
}

// Skin names may use either separator and stray slashes; zip entries are
// stored with single forward slashes and no leading one.
CUIString ZipEntryName(const wchar_t* name)
{
    CUIString entry;
    wchar_t last = L'/';  // so that leading slashes are dropped too
    for (const wchar_t* at = name; *at != L'\0'; ++at)
    {
        const wchar_t ch = *at == L'\\' ? L'/' : *at;
        if (ch == L'/' && last == L'/')
            continue;
        entry += ch;
        last = ch;
    }
    return entry;
}

}  // namespace

bool ReadWholeFile(const wchar_t* path, BYTE*& bytes, unsigned& size)
{
    bytes = nullptr;
    size = 0;
    if (path == nullptr || path[0] == L'\0')
        return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;

    LARGE_INTEGER length = {};
    if (GetFileSizeEx(file, &length) && length.QuadPart > 0 && length.QuadPart <= kMaxImageFileBytes)
    {
        const unsigned wanted = static_cast<unsigned>(length.QuadPart);
        bytes = new (std::nothrow) BYTE[wanted];
        DWORD read = 0;
        if (bytes != nullptr && ReadFile(file, bytes, wanted, &read, nullptr) && read == wanted)
            size = wanted;
        else
            Discard(bytes, size);
    }
    CloseHandle(file);
    return bytes != nullptr;
}

ImageSource ImageSource::FromManager()
{
    ImageSource source;
    source.resourceModule = CUIManager::GetResourceModule();
    source.skinFolder = CUIManager::GetSkinFolder();
    source.zipName = CUIManager::GetSkinZipName();
    source.openZip = CUIManager::IsSkinZipKeptOpen() ? CUIManager::GetSkinZipHandle() : nullptr;
    const char* password = CUIManager::GetSkinZipPassword();
    if (password != nullptr)
        std::strncpy(source.zipPassword, password, sizeof(source.zipPassword) - 1);
    return source;
}

bool ImageSource::Fetch(const wchar_t* name, const wchar_t* type, BYTE*& bytes, unsigned& size) const
{
    bytes = nullptr;
    size = 0;
    if (name == nullptr)
        return false;
    const bool hasType = type != nullptr && type[0] != L'\0';
    if (hasType && std::wcscmp(type, kColorImageType) == 0)
        return false;

    // An integer resource id is a small number dressed as a pointer: it names
    // nothing outside the module's resources and must never be read as text.
    const bool textName = !IS_INTRESOURCE(name);
    bool found = false;
    if (hasType)
        found = FetchResource(name, type, bytes, size);
    else if (textName && zipName.IsEmpty())
        found = FetchSkinFile(name, bytes, size);
    else if (textName)
        found = FetchZipEntry(name, bytes, size);

    if (!found && textName)
        found = ReadWholeFile(name, bytes, size);
    return found;
}

bool ImageSource::FetchResource(const wchar_t* name, const wchar_t* type, BYTE*& bytes, unsigned& size) const
{
    HRSRC info = FindResourceW(resourceModule, name, type);
    if (info == nullptr)
        return false;
    HGLOBAL handle = LoadResource(resourceModule, info);
    const DWORD length = SizeofResource(resourceModule, info);
    const void* data = handle != nullptr ? LockResource(handle) : nullptr;
    if (data != nullptr && length > 0)
    {
        bytes = new (std::nothrow) BYTE[length];
        if (bytes != nullptr)
        {
            std::memcpy(bytes, data, length);
            size = length;
        }
    }
    if (handle != nullptr)
        FreeResource(handle);
    return bytes != nullptr;
}

bool ImageSource::FetchSkinFile(const wchar_t* name, BYTE*& bytes, unsigned& size) const
{
    CUIString path = skinFolder + name;
    return ReadWholeFile(path.GetData(), bytes, size);
}

bool ImageSource::FetchZipEntry(const wchar_t* name, BYTE*& bytes, unsigned& size) const
{
    CSkinArchive* archive = openZip;
    // A zip that is not kept open is read from resource path + zip name for
    // this one load; the archive reads from zipBytes, so it goes first.
    BYTE* zipBytes = nullptr;
    unsigned zipSize = 0;
    std::unique_ptr<CSkinArchive> opened;
    if (archive == nullptr)
    {
        CUIString path = skinFolder + zipName;
        if (!ReadWholeFile(path.GetData(), zipBytes, zipSize))
            return false;
        opened.reset(CSkinArchive::OpenFromMemory(zipBytes, zipSize, zipPassword[0] != '\0' ? zipPassword : nullptr));
        archive = opened.get();
    }

    // An empty entry succeeds in the archive but gives nothing to decode.
    const CUIString entry = ZipEntryName(name);
    if (archive == nullptr || archive->ReadEntry(entry.GetData(), bytes, size) != SkinArchiveStatus::Ok || size == 0)
        Discard(bytes, size);
    opened.reset();
    delete[] zipBytes;
    return bytes != nullptr;
}

}  // namespace DuiLib
