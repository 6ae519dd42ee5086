// CSkinArchive: memory-backed minizip access to the skin zip. minizip
// deciphers, inflates and checks the CRC; every size an entry claims is
// checked against the archive before it is trusted with an allocation.
#include "ui/markup/SkinArchive.h"

#include <cstring>
#include <new>

#include "ui/core/UIString.h"

#include "unzip.h"
#include "zlib.h"

namespace DuiLib {

namespace {

// Every ZipCrypto entry starts with this many enciphered header bytes.
constexpr ZPOS64_T kCryptHeaderBytes = 12;
// Deflate cannot expand data by more than about 1032:1; an entry claiming a
// larger ratio is damaged, and is refused before anything is allocated.
constexpr ZPOS64_T kMaxDeflateRatio = 1032;
constexpr uLong kFlagEncrypted = 0x0001;
constexpr uLong kMethodStored = 0;
constexpr uLong kMethodDeflated = 8;

voidpf ZCALLBACK MemoryOpen(voidpf opaque, const char*, int)
{
    SkinMemoryStream* stream = static_cast<SkinMemoryStream*>(opaque);
    stream->position = 0;
    return stream;
}

uLong ZCALLBACK MemoryRead(voidpf, voidpf handle, void* buffer, uLong size)
{
    SkinMemoryStream* stream = static_cast<SkinMemoryStream*>(handle);
    unsigned available = stream->length - stream->position;
    unsigned count = size < available ? static_cast<unsigned>(size) : available;
    std::memcpy(buffer, stream->data + stream->position, count);
    stream->position += count;
    stream->shortRead = count < size;
    return count;
}

uLong ZCALLBACK MemoryWrite(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

long ZCALLBACK MemoryTell(voidpf, voidpf handle)
{
    return static_cast<long>(static_cast<SkinMemoryStream*>(handle)->position);
}

long ZCALLBACK MemorySeek(voidpf, voidpf handle, uLong offset, int origin)
{
    SkinMemoryStream* stream = static_cast<SkinMemoryStream*>(handle);
    unsigned long long base = 0;
    switch (origin)
    {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = stream->position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = stream->length; break;
    default: return -1;
    }
    unsigned long long target = base + offset;
    if (target > stream->length)
        return -1;
    stream->position = static_cast<unsigned>(target);
    return 0;
}

int ZCALLBACK MemoryClose(voidpf, voidpf)
{
    return 0;
}

// minizip's end-of-file code equals its success code, so a header cut off by
// the end of the bytes would be read as zeros; reporting the short read as an
// error is what makes a truncated archive fail.
int ZCALLBACK MemoryError(voidpf, voidpf handle)
{
    return static_cast<SkinMemoryStream*>(handle)->shortRead ? 1 : 0;
}

}  // namespace

CSkinArchive* CSkinArchive::OpenFromMemory(const void* buffer, unsigned length, const char* password)
{
    if (buffer == nullptr || length == 0)
        return nullptr;
    CSkinArchive* archive = new (std::nothrow) CSkinArchive();
    if (archive == nullptr)
        return nullptr;
    archive->m_stream = {static_cast<const BYTE*>(buffer), length, 0, false};
    if (password != nullptr)
        std::strncpy(archive->m_password, password, sizeof(archive->m_password) - 1);

    zlib_filefunc_def io = {};
    io.zopen_file = MemoryOpen;
    io.zread_file = MemoryRead;
    io.zwrite_file = MemoryWrite;
    io.ztell_file = MemoryTell;
    io.zseek_file = MemorySeek;
    io.zclose_file = MemoryClose;
    io.zerror_file = MemoryError;
    io.opaque = &archive->m_stream;
    // minizip wants a non-null path; the memory stream ignores it.
    archive->m_zip = unzOpen2("membuffer", &io);
    if (archive->m_zip == nullptr)
    {
        delete archive;
        return nullptr;
    }
    return archive;
}

CSkinArchive::~CSkinArchive()
{
    if (m_zip != nullptr)
        unzClose(m_zip);
}

bool CSkinArchive::EntryName(const wchar_t* name, char (&out)[kMaxEntryNameBytes + 1])
{
    out[0] = '\0';
    if (name == nullptr)
        return false;
    // Separators are rewritten in the wide text, before the conversion: in a
    // double-byte code page the second byte of a character may be 0x5C, the
    // backslash, and must not become a slash.
    CUIString entry;
    int units = 0;
    wchar_t last = L'/';  // so that leading slashes are dropped too
    for (const wchar_t* at = name; *at != L'\0'; ++at)
    {
        const wchar_t ch = *at == L'\\' ? L'/' : *at;
        if (ch == L'/' && last == L'/')
            continue;
        // No code page writes fewer than one byte per two UTF-16 units, so a
        // longer name cannot fit; stopping here bounds the work on any input.
        if (++units > 2 * kMaxEntryNameBytes)
            return false;
        entry += ch;
        last = ch;
    }
    if (entry.IsEmpty() ||
        WideCharToMultiByte(CP_ACP, 0, entry.GetData(), -1, out, kMaxEntryNameBytes + 1, nullptr, nullptr) <= 0)
    {
        out[0] = '\0';
        return false;
    }
    return true;
}

SkinArchiveStatus CSkinArchive::ReadEntry(const wchar_t* name, BYTE*& bytes, unsigned& size, unsigned maxBytes)
{
    bytes = nullptr;
    size = 0;
    char entryName[kMaxEntryNameBytes + 1];
    if (!EntryName(name, entryName))
        return SkinArchiveStatus::NotFound;
    // Case sensitivity 2: minizip compares without regard to ASCII case.
    if (unzLocateFile(m_zip, entryName, 2) != UNZ_OK)
        return SkinArchiveStatus::NotFound;

    unz_file_info64 info = {};
    if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return SkinArchiveStatus::Damaged;
    if (info.uncompressed_size == 0)
        return SkinArchiveStatus::Empty;
    if (info.uncompressed_size > (maxBytes < kMaxEntryBytes ? maxBytes : kMaxEntryBytes))
        return SkinArchiveStatus::TooLarge;
    if (info.compression_method != kMethodStored && info.compression_method != kMethodDeflated)
        return SkinArchiveStatus::Damaged;
    // Sizes the archive cannot hold are refused before any allocation.
    if (info.compressed_size > m_stream.length)
        return SkinArchiveStatus::Damaged;
    const bool encrypted = (info.flag & kFlagEncrypted) != 0;
    if (encrypted && info.compressed_size < kCryptHeaderBytes)
        return SkinArchiveStatus::Damaged;
    const ZPOS64_T dataBytes = info.compressed_size - (encrypted ? kCryptHeaderBytes : 0);
    if (info.uncompressed_size > dataBytes * kMaxDeflateRatio + 64)
        return SkinArchiveStatus::Damaged;
    if (encrypted && m_password[0] == '\0')
        return SkinArchiveStatus::WrongPassword;

    if (unzOpenCurrentFilePassword(m_zip, encrypted ? m_password : nullptr) != UNZ_OK)
        return SkinArchiveStatus::Damaged;
    const unsigned plainSize = static_cast<unsigned>(info.uncompressed_size);
    // One spare byte shows data running past the size the entry claims.
    BYTE* out = new (std::nothrow) BYTE[plainSize + 1];
    if (out == nullptr)
    {
        unzCloseCurrentFile(m_zip);
        return SkinArchiveStatus::OutOfMemory;
    }
    const int read = unzReadCurrentFile(m_zip, out, plainSize + 1);
    // Closing checks the CRC once every byte was read; with a wrong password
    // this (or inflation before it) is where the garbage shows.
    const int closed = unzCloseCurrentFile(m_zip);
    if (read < 0 || static_cast<unsigned>(read) != plainSize || closed != UNZ_OK)
    {
        delete[] out;
        return SkinArchiveStatus::Damaged;
    }
    bytes = out;
    size = plainSize;
    return SkinArchiveStatus::Ok;
}

}  // namespace DuiLib
