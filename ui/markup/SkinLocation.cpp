// SkinLocation: reading skin bytes from a plain file, an archive entry or a
// module resource. Entry names and archive reading are CSkinArchive's; the
// settings come from CSkinSettings. Every buffer and every archive opened for
// one read is released on every path.
#include "ui/markup/SkinLocation.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

#include "ui/markup/SkinArchive.h"
#include "ui/markup/SkinSettings.h"

namespace DuiLib {

namespace {

// A 32-bit process cannot hold more, and the image decoder measures its
// input with an int.
constexpr unsigned kMaxWholeFileBytes = INT_MAX;

SkinReadStatus Discard(SkinReadStatus status, BYTE*& bytes, unsigned& size)
{
    delete[] bytes;
    bytes = nullptr;
    size = 0;
    return status;
}

SkinReadStatus FromArchiveStatus(SkinArchiveStatus status)
{
    switch (status)
    {
    case SkinArchiveStatus::Ok: return SkinReadStatus::Ok;
    case SkinArchiveStatus::NotFound: return SkinReadStatus::EntryNotFound;
    case SkinArchiveStatus::Empty: return SkinReadStatus::Empty;
    case SkinArchiveStatus::TooLarge: return SkinReadStatus::TooLarge;
    case SkinArchiveStatus::OutOfMemory: return SkinReadStatus::OutOfMemory;
    case SkinArchiveStatus::WrongPassword:
    case SkinArchiveStatus::Damaged: break;
    }
    return SkinReadStatus::UnzipFailed;
}

}  // namespace

SkinReadStatus ReadFileBytes(const wchar_t* path, unsigned maxBytes, BYTE*& bytes, unsigned& size)
{
    bytes = nullptr;
    size = 0;
    if (path == nullptr || path[0] == L'\0')
        return SkinReadStatus::OpenFailed;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return SkinReadStatus::OpenFailed;

    SkinReadStatus status = SkinReadStatus::Ok;
    LARGE_INTEGER length = {};
    if (!GetFileSizeEx(file, &length))
        status = SkinReadStatus::ReadShort;
    else if (length.QuadPart == 0)
        status = SkinReadStatus::Empty;
    else if (length.QuadPart > maxBytes || length.QuadPart > kMaxWholeFileBytes)
        status = SkinReadStatus::TooLarge;
    else
    {
        const unsigned wanted = static_cast<unsigned>(length.QuadPart);
        bytes = new (std::nothrow) BYTE[wanted];
        DWORD read = 0;
        if (bytes == nullptr)
            status = SkinReadStatus::OutOfMemory;
        else if (!ReadFile(file, bytes, wanted, &read, nullptr) || read != wanted)
            status = Discard(SkinReadStatus::ReadShort, bytes, size);
        else
            size = wanted;
    }
    CloseHandle(file);
    return status;
}

bool ReadWholeFile(const wchar_t* path, BYTE*& bytes, unsigned& size)
{
    return ReadFileBytes(path, kMaxWholeFileBytes, bytes, size) == SkinReadStatus::Ok;
}

SkinLocation SkinLocation::Current()
{
    SkinLocation location;
    location.resourceModule = CSkinSettings::GetResourceModule();
    location.folder = CSkinSettings::GetSkinFolder();
    location.zipName = CSkinSettings::GetSkinZipName();
    location.openZip = CSkinSettings::IsSkinZipKeptOpen() ? CSkinSettings::GetSkinZipHandle() : nullptr;
    const char* password = CSkinSettings::GetSkinZipPassword();
    if (password != nullptr)
        std::strncpy(location.zipPassword, password, sizeof(location.zipPassword) - 1);
    return location;
}

SkinReadStatus SkinLocation::ReadSkinFile(const wchar_t* name, unsigned maxBytes, BYTE*& bytes,
                                          unsigned& size) const
{
    return zipName.IsEmpty() ? ReadFolderFile(name, maxBytes, bytes, size)
                             : ReadZipEntry(name, maxBytes, bytes, size);
}

SkinReadStatus SkinLocation::ReadFolderFile(const wchar_t* name, unsigned maxBytes, BYTE*& bytes,
                                            unsigned& size) const
{
    bytes = nullptr;
    size = 0;
    if (name == nullptr)
        return SkinReadStatus::OpenFailed;
    const CUIString path = folder + name;
    return ReadFileBytes(path.GetData(), maxBytes, bytes, size);
}

SkinReadStatus SkinLocation::ReadZipEntry(const wchar_t* name, unsigned maxBytes, BYTE*& bytes,
                                          unsigned& size) const
{
    bytes = nullptr;
    size = 0;
    CSkinArchive* archive = openZip;
    // An archive that is not kept open is read from folder + zipName for this
    // one read. The archive reads from zipBytes, so it is closed first.
    BYTE* zipBytes = nullptr;
    unsigned zipSize = 0;
    std::unique_ptr<CSkinArchive> opened;
    if (archive == nullptr)
    {
        const CUIString path = folder + zipName;
        if (!ReadWholeFile(path.GetData(), zipBytes, zipSize))
            return SkinReadStatus::ZipOpenFailed;
        opened.reset(
            CSkinArchive::OpenFromMemory(zipBytes, zipSize, zipPassword[0] != '\0' ? zipPassword : nullptr));
        archive = opened.get();
    }

    SkinReadStatus status = SkinReadStatus::ZipOpenFailed;
    if (archive != nullptr)
        status = FromArchiveStatus(archive->ReadEntry(name, bytes, size, maxBytes));
    opened.reset();
    delete[] zipBytes;
    return status;
}

SkinReadStatus SkinLocation::ReadResource(const wchar_t* name, const wchar_t* type, BYTE*& bytes,
                                          unsigned& size) const
{
    bytes = nullptr;
    size = 0;
    if (name == nullptr || type == nullptr)
        return SkinReadStatus::OpenFailed;
    HRSRC info = FindResourceW(resourceModule, name, type);
    HGLOBAL handle = info != nullptr ? LoadResource(resourceModule, info) : nullptr;
    if (handle == nullptr)
        return SkinReadStatus::OpenFailed;
    const DWORD length = SizeofResource(resourceModule, info);
    const void* data = LockResource(handle);
    SkinReadStatus status = SkinReadStatus::Ok;
    if (data == nullptr)
        status = SkinReadStatus::OpenFailed;
    else if (length == 0)
        status = SkinReadStatus::Empty;
    else
    {
        bytes = new (std::nothrow) BYTE[length];
        if (bytes == nullptr)
            status = SkinReadStatus::OutOfMemory;
        else
        {
            std::memcpy(bytes, data, length);
            size = length;
        }
    }
    FreeResource(handle);
    return status;
}

}  // namespace DuiLib
