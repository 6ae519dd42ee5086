// The XML reader's input widening: UTF-8 decoded by hand where its meaning
// is fixed (ASCII and well-formed sequences), everything else through the
// platform's multi-byte conversion. Internal to the reader's source files;
// what a load does with the result is CXmlDocument's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace DuiLib {
namespace widen {

// Decodes the well-formed UTF-8 sequence of two to four bytes at bytes (end
// bounds it) into units and answers its length in bytes, with unitCount set;
// 0 when no well-formed sequence starts there. Well-formed sequences have one
// meaning in every decoder; what a damaged one becomes is left to the
// platform.
inline int DecodeSequence(const unsigned char* bytes, const unsigned char* end, wchar_t* units, int& unitCount)
{
    const unsigned lead = bytes[0];
    int length = 0;
    unsigned code = 0;
    // The second byte's range excludes overlong forms, surrogates and code
    // points above U+10FFFF.
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - bytes < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        const unsigned next = bytes[i];
        if (next < (i == 1 ? low : 0x80u) || next > (i == 1 ? high : 0xBFu))
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < 0x10000) {
        units[0] = static_cast<wchar_t>(code);
        unitCount = 1;
    } else {
        code -= 0x10000;
        units[0] = static_cast<wchar_t>(0xD800 + (code >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        unitCount = 2;
    }
    return length;
}

// Converts count bytes of codePage into text, which has room for count
// units, and answers the units written; 0 when the platform refuses.
//
// UTF-8 is decoded here as far as its meaning is fixed: ASCII bytes and
// well-formed sequences. A damaged sequence, and the bytes up to the next
// ASCII one, go through the platform's conversion, which decides how many
// U+FFFD they become. The result is the platform's for the whole text: its
// decoder is at a sequence boundary wherever such a run starts, and an ASCII
// byte is always a character of its own, never part of a damaged sequence.
// ANSI code pages may use ASCII values as second bytes, so they go through
// the platform in one call.
inline int Widen(unsigned codePage, const unsigned char* bytes, int count, wchar_t* text)
{
    if (codePage != CP_UTF8)
        return MultiByteToWideChar(codePage, 0, reinterpret_cast<const char*>(bytes), count, text, count);
    const unsigned char* const end = bytes + count;
    int written = 0;
    int at = 0;
    while (at < count) {
        // Four ASCII bytes at a time while they last, written as two pairs
        // of units, then one at a time.
        for (std::uint32_t quad; count - at >= 4; at += 4, written += 4) {
            std::memcpy(&quad, bytes + at, 4);
            if ((quad & 0x80808080u) != 0)
                break;
            const std::uint32_t pairs[2] = {(quad & 0xFFu) | ((quad & 0xFF00u) << 8),
                                            ((quad >> 16) & 0xFFu) | ((quad >> 8) & 0xFF0000u)};
            std::memcpy(text + written, pairs, sizeof(pairs));
        }
        while (at < count && bytes[at] < 0x80)
            text[written++] = bytes[at++];
        while (at < count && bytes[at] >= 0x80) {
            int units = 0;
            const int length = DecodeSequence(bytes + at, end, text + written, units);
            if (length > 0) {
                at += length;
                written += units;
                continue;
            }
            const int start = at;
            while (at < count && bytes[at] >= 0x80)
                ++at;
            units = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(bytes) + start, at - start,
                                        text + written, at - start);
            if (units <= 0)
                return 0;
            written += units;
        }
    }
    return written;
}

}  // namespace widen
}  // namespace DuiLib
