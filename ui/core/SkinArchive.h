// CSkinArchive: the skin zip held in memory, read through minizip and zlib.
// It finds entries by name without regard to letter case and extracts them
// whole, through minizip's own ZipCrypto deciphering. It never owns the
// archive's bytes.
// Invariant: an extracted buffer has exactly the entry's verified size.
#pragma once

#include <windows.h>

namespace DuiLib {

// Outcome of ReadEntry; everything but Ok leaves no bytes behind.
enum class SkinArchiveStatus
{
    Ok,
    NotFound,       // no entry of that name, or a null/empty name
    WrongPassword,  // enciphered entry and no password to decipher it with
    TooLarge,       // the entry claims more than kMaxEntryBytes
    // Headers, compressed data, size or checksum disagree. A wrong password
    // lands here too: ZipCrypto cannot tell it from damaged data.
    Damaged,
    OutOfMemory,
};

// The archive's bytes as minizip's memory stream sees them.
struct SkinMemoryStream
{
    const BYTE* data;
    unsigned length;
    unsigned position;
    bool shortRead;  // the last read ended at the end of the bytes
};

class CSkinArchive
{
public:
    // Largest entry ReadEntry extracts; skin files are far smaller, so a
    // bigger claim is taken as damage rather than trusted with an allocation.
    static constexpr unsigned kMaxEntryBytes = 64u * 1024u * 1024u;

    // Opens the archive in buffer (length bytes; the caller keeps them alive
    // until the archive is deleted). password null or "" means none; it is
    // copied, at most 64 bytes. Null when the bytes are not a readable zip.
    static CSkinArchive* OpenFromMemory(const void* buffer, unsigned length, const char* password);

    CSkinArchive(const CSkinArchive&) = delete;
    CSkinArchive& operator=(const CSkinArchive&) = delete;
    ~CSkinArchive();

    // Extracts the entry name (letter case ignored) into a new[] buffer of
    // exactly size bytes that the caller frees with delete[]. On any failure
    // bytes is null and size 0. An empty entry succeeds with a null buffer.
    SkinArchiveStatus ReadEntry(const wchar_t* name, BYTE*& bytes, unsigned& size);

private:
    CSkinArchive() = default;

    SkinMemoryStream m_stream = {};
    void* m_zip = nullptr;  // minizip's unzFile
    char m_password[65] = {};
};

}  // namespace DuiLib
