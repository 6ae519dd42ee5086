// CSkinArchive: the skin zip held in memory, read through minizip and zlib.
// It owns the one rule that turns a skin file name into an entry name, finds
// entries without regard to letter case and extracts them whole, through
// minizip's own ZipCrypto deciphering. It never owns the archive's bytes.
// Invariant: an extracted buffer has exactly the entry's verified size.
#pragma once

#include <windows.h>

namespace DuiLib {

// Outcome of ReadEntry; everything but Ok leaves no bytes behind.
enum class SkinArchiveStatus
{
    Ok,
    NotFound,       // no entry of that name, or a null/empty name
    Empty,          // the entry holds no bytes
    WrongPassword,  // enciphered entry and no password to decipher it with
    TooLarge,       // the entry claims more than the caller's limit
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
    // Longest entry name, in bytes of the system ANSI code page.
    static constexpr int kMaxEntryNameBytes = MAX_PATH;

    // Opens the archive in buffer (length bytes; the caller keeps them alive
    // until the archive is deleted). password null or "" means none; it is
    // copied, at most 64 bytes. Null when the bytes are not a readable zip.
    static CSkinArchive* OpenFromMemory(const void* buffer, unsigned length, const char* password);

    CSkinArchive(const CSkinArchive&) = delete;
    CSkinArchive& operator=(const CSkinArchive&) = delete;
    ~CSkinArchive();

    // Extracts the entry that the skin file name names into a new[] buffer of
    // exactly size bytes that the caller frees with delete[]. The name is
    // looked up as EntryName gives it, without regard to letter case. An
    // entry of 0 bytes is Empty; one above maxBytes (never above
    // kMaxEntryBytes) is TooLarge. On any failure bytes is null and size 0.
    SkinArchiveStatus ReadEntry(const wchar_t* name, BYTE*& bytes, unsigned& size,
                                unsigned maxBytes = kMaxEntryBytes);

    // The entry name for a skin file name: backslashes become slashes,
    // leading and repeated slashes are dropped, and the result is written in
    // the system ANSI code page, zero-terminated, into out. False, with out
    // "", for a null name, one left empty, or one longer than
    // kMaxEntryNameBytes bytes.
    static bool EntryName(const wchar_t* name, char (&out)[kMaxEntryNameBytes + 1]);

private:
    CSkinArchive() = default;

    SkinMemoryStream m_stream = {};
    void* m_zip = nullptr;  // minizip's unzFile
    char m_password[65] = {};
};

}  // namespace DuiLib
