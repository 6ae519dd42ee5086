// CSkinArchive: memory-backed minizip access to the skin zip, with ZipCrypto
// deciphering and inflation done here on minizip's raw entry bytes. Every
// size an entry claims is checked against the archive before it is trusted.
#include "ui/core/SkinArchive.h"

#include <cstring>
#include <new>

#include "unzip.h"
#include "zlib.h"

// The minizip build compiles its own deciphering out (unzip.c forces
// NOUNCRYPT), so entries are opened raw and deciphered with minizip's own
// ZipCrypto routines from crypt.h. They are static functions meant for
// inclusion, some unused here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include "crypt.h"
#pragma GCC diagnostic pop

namespace DuiLib {

namespace {

// Every ZipCrypto entry starts with this many enciphered header bytes.
constexpr unsigned kCryptHeaderBytes = 12;
// Deflate cannot expand data by more than about 1032:1; an entry claiming a
// larger ratio is damaged, and is refused before anything is allocated.
constexpr ZPOS64_T kMaxDeflateRatio = 1032;
constexpr uLong kFlagEncrypted = 0x0001;
constexpr uLong kFlagDataDescriptor = 0x0008;
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

int ZCALLBACK MemoryError(voidpf, voidpf)
{
    return 0;
}

// Zip names of the skin are ASCII; other names are stored as UTF-8.
bool ToUtf8(const wchar_t* name, char* out, int outBytes)
{
    return WideCharToMultiByte(CP_UTF8, 0, name, -1, out, outBytes, nullptr, nullptr) > 0;
}

// Inflates or copies plain (deciphered) entry data into exactly size bytes.
bool Expand(uLong method, BYTE* data, unsigned dataBytes, BYTE* out, unsigned size)
{
    if (method == kMethodStored)
    {
        if (dataBytes != size)
            return false;
        if (size != 0)
            std::memcpy(out, data, size);
        return true;
    }
    z_stream z = {};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return false;
    z.next_in = data;
    z.avail_in = dataBytes;
    z.next_out = out;
    z.avail_out = size;
    int result = inflate(&z, Z_FINISH);
    bool complete = result == Z_STREAM_END && z.total_out == size;
    inflateEnd(&z);
    return complete;
}

}  // namespace

CSkinArchive* CSkinArchive::OpenFromMemory(const void* buffer, unsigned length, const char* password)
{
    if (buffer == nullptr || length == 0)
        return nullptr;
    CSkinArchive* archive = new (std::nothrow) CSkinArchive();
    if (archive == nullptr)
        return nullptr;
    archive->m_stream = {static_cast<const BYTE*>(buffer), length, 0};
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

SkinArchiveStatus CSkinArchive::ReadEntry(const wchar_t* name, BYTE*& bytes, unsigned& size)
{
    bytes = nullptr;
    size = 0;
    char narrowName[MAX_PATH * 3];
    if (name == nullptr || name[0] == L'\0' || !ToUtf8(name, narrowName, sizeof(narrowName)))
        return SkinArchiveStatus::NotFound;
    // Case sensitivity 2: minizip compares without regard to ASCII case.
    if (unzLocateFile(m_zip, narrowName, 2) != UNZ_OK)
        return SkinArchiveStatus::NotFound;

    unz_file_info64 info = {};
    if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return SkinArchiveStatus::Damaged;
    if (info.compression_method != kMethodStored && info.compression_method != kMethodDeflated)
        return SkinArchiveStatus::Damaged;
    if (info.uncompressed_size > kMaxEntryBytes)
        return SkinArchiveStatus::TooLarge;
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

    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile3(m_zip, &method, &level, 1, nullptr) != UNZ_OK)
        return SkinArchiveStatus::Damaged;
    const unsigned rawBytes = static_cast<unsigned>(info.compressed_size);
    BYTE* raw = new (std::nothrow) BYTE[rawBytes + 1];
    if (raw == nullptr)
    {
        unzCloseCurrentFile(m_zip);
        return SkinArchiveStatus::OutOfMemory;
    }
    int read = unzReadCurrentFile(m_zip, raw, rawBytes);
    unzCloseCurrentFile(m_zip);
    if (read < 0 || static_cast<unsigned>(read) != rawBytes)
    {
        delete[] raw;
        return SkinArchiveStatus::Damaged;
    }

    BYTE* data = raw;
    if (encrypted)
    {
        const z_crc_t* table = get_crc_table();
        unsigned long keys[3];
        init_keys(m_password, keys, table);
        for (unsigned i = 0; i < rawBytes; ++i)
        {
            int c = raw[i];
            zdecode(keys, table, c);
            raw[i] = static_cast<BYTE>(c);
        }
        // The last header byte repeats the checksum's top byte, or the
        // modification time's when sizes follow the data.
        const uLong check = (info.flag & kFlagDataDescriptor) != 0 ? (info.dosDate >> 8) & 0xFF
                                                                   : (info.crc >> 24) & 0xFF;
        if (raw[kCryptHeaderBytes - 1] != check)
        {
            delete[] raw;
            return SkinArchiveStatus::WrongPassword;
        }
        data = raw + kCryptHeaderBytes;
    }

    const unsigned plainSize = static_cast<unsigned>(info.uncompressed_size);
    BYTE* out = nullptr;
    if (plainSize != 0)
    {
        out = new (std::nothrow) BYTE[plainSize];
        if (out == nullptr)
        {
            delete[] raw;
            return SkinArchiveStatus::OutOfMemory;
        }
    }
    bool expanded = Expand(info.compression_method, data, static_cast<unsigned>(dataBytes), out, plainSize);
    delete[] raw;
    if (!expanded || crc32(0L, out, plainSize) != info.crc)
    {
        delete[] out;
        return SkinArchiveStatus::Damaged;
    }
    bytes = out;
    size = plainSize;
    return SkinArchiveStatus::Ok;
}

}  // namespace DuiLib
