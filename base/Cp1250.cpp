#include "Cp1250.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kwizmar {

namespace {

// Code points of the bytes 0x80 … 0xFF.
// clang-format off
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9
};
// clang-format on

// The UTF-8 form of each byte 0x80 … 0xFF, so that decoding looks bytes up
// instead of encoding code points. Every one of them is below U+10000.
struct TUtf8OfByte {
    std::array<char, 3> bytes{};
    unsigned char size = 0;
};

constexpr std::array<TUtf8OfByte, 128> kHighHalfUtf8 = [] {
    std::array<TUtf8OfByte, 128> table{};
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        const char32_t cp = kHighHalf[i];
        TUtf8OfByte& u = table[i];
        if (cp < 0x800) {
            u.bytes = {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
            u.size = 2;
        } else {
            u.bytes = {static_cast<char>(0xE0 | (cp >> 12)),
                       static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                       static_cast<char>(0x80 | (cp & 0x3F))};
            u.size = 3;
        }
    }
    return table;
}();

// Whether the eight bytes at `p` are all ASCII.
bool EightAscii(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080u) == 0;
}


bool EncodeOne(char32_t cp, unsigned char& byte) {
    if (cp < 0x80) {
        byte = static_cast<unsigned char>(cp);
        return true;
    }
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == cp) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

// Upper-case byte of each lower-case letter of the upper half. 0xDF (ß) and
// 0xFF (dot above) have no upper case; 0xF7 (÷) and 0xD7 (×) are no letters.
constexpr std::array<std::array<unsigned char, 2>, 10> kHighHalfPairs = {{
    {0x9A, 0x8A}, // š Š
    {0x9C, 0x8C}, // ś Ś
    {0x9D, 0x8D}, // ť Ť
    {0x9E, 0x8E}, // ž Ž
    {0x9F, 0x8F}, // ź Ź
    {0xB3, 0xA3}, // ł Ł
    {0xB9, 0xA5}, // ą Ą
    {0xBA, 0xAA}, // ş Ş
    {0xBE, 0xBC}, // ľ Ľ
    {0xBF, 0xAF}, // ż Ż
}};

unsigned char UpperByte(unsigned char b) {
    if (b >= 'a' && b <= 'z')
        return static_cast<unsigned char>(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7)
        return static_cast<unsigned char>(b - 0x20);
    for (const auto& pair : kHighHalfPairs)
        if (pair[0] == b)
            return pair[1];
    return b;
}

unsigned char LowerByte(unsigned char b) {
    if (b >= 'A' && b <= 'Z')
        return static_cast<unsigned char>(b + 0x20);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
        return static_cast<unsigned char>(b + 0x20);
    for (const auto& pair : kHighHalfPairs)
        if (pair[1] == b)
            return pair[0];
    return b;
}

char32_t CodePointOfByte(unsigned char b) {
    return b < 0x80 ? b : kHighHalf[b - 0x80];
}

// One step through a UTF-8 text: a character or a malformed byte.
struct TPiece {
    std::string_view text;
    std::size_t offset = 0;
    bool malformed = false;
    bool inPage = false;    // Windows-1250 holds the character ...
    unsigned char byte = 0; // ... as this byte
};

// Calls `each` for every piece of `utf8` in turn; a malformed byte is a piece
// of its own.
template <class F> void ForEachPiece(std::string_view utf8, F each) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        TPiece piece;
        piece.offset = pos;
        char32_t cp;
        if (!NextCodePoint(utf8, pos, cp)) {
            piece.malformed = true;
            pos = piece.offset + 1;
        } else {
            piece.inPage = EncodeOne(cp, piece.byte);
        }
        piece.text = utf8.substr(piece.offset, pos - piece.offset);
        each(piece);
    }
}

std::string MapCase(std::string_view utf8, unsigned char (*map)(unsigned char)) {
    std::string out;
    out.reserve(utf8.size());
    ForEachPiece(utf8, [&](const TPiece& piece) {
        if (piece.inPage)
            AppendUtf8(out, CodePointOfByte(map(piece.byte)));
        else
            out.append(piece.text);
    });
    return out;
}

// Without a replacement the first character that can't be written throws.
std::string Encode(std::string_view utf8, std::optional<char> replacement) {
    std::string out;
    out.reserve(utf8.size());
    ForEachPiece(utf8, [&](const TPiece& piece) {
        if (piece.inPage)
            out += static_cast<char>(piece.byte);
        else if (replacement)
            out += *replacement;
        else
            throw ECp1250Error(piece.malformed ? "malformed UTF-8"
                                               : "character not in Windows-1250",
                               piece.offset);
    });
    return out;
}

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Cp1250UpperCase(std::string_view utf8) {
    return MapCase(utf8, UpperByte);
}

std::string Cp1250LowerCase(std::string_view utf8) {
    return MapCase(utf8, LowerByte);
}

std::string Cp1250ToUtf8(std::string_view bytes) {
    // Most text is ASCII, which stays as it is: copy it eight bytes at a time
    // and size the result exactly before the first letter that needs more.
    const char* in = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t ascii = 0;
    while (ascii + 8 <= n && EightAscii(in + ascii))
        ascii += 8;
    while (ascii < n && static_cast<unsigned char>(in[ascii]) < 0x80)
        ++ascii;
    if (ascii == n)
        return std::string(bytes);
    std::size_t size = n;
    for (std::size_t i = ascii; i < n; ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b >= 0x80)
            size += kHighHalfUtf8[b - 0x80].size - 1u;
    }
    std::string out(size, '\0');
    char* o = out.data();
    std::memcpy(o, in, ascii);
    o += ascii;
    for (std::size_t i = ascii; i < n;) {
        if (i + 8 <= n && EightAscii(in + i)) {
            std::memcpy(o, in + i, 8);
            o += 8;
            i += 8;
            continue;
        }
        const auto b = static_cast<unsigned char>(in[i++]);
        if (b < 0x80) {
            *o++ = static_cast<char>(b);
            continue;
        }
        const TUtf8OfByte& u = kHighHalfUtf8[b - 0x80];
        for (unsigned char k = 0; k < u.size; ++k)
            *o++ = u.bytes[k];
    }
    return out;
}

bool NextCodePoint(std::string_view s, std::size_t& pos, char32_t& cp) {
    if (pos >= s.size())
        return false;
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (b0 < 0x80) {
        cp = b0;
        ++pos;
        return true;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        value = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        value = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        value = b0 & 0x07;
        minimum = 0x10000;
    } else {
        return false;
    }
    if (pos + extra >= s.size())
        return false;
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    cp = value;
    pos += extra + 1;
    return true;
}

std::size_t CodePointCount(std::string_view utf8) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp;
        if (!NextCodePoint(utf8, pos, cp))
            ++pos;
        ++count;
    }
    return count;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    char32_t cp;
    while (pos < text.size())
        if (!NextCodePoint(text, pos, cp))
            return false;
    return true;
}

std::string Utf8ToCp1250(std::string_view utf8) {
    return Encode(utf8, std::nullopt);
}

std::string Utf8ToCp1250(std::string_view utf8, char replacement) {
    return Encode(utf8, replacement);
}

bool InCp1250(char32_t cp) {
    unsigned char byte;
    return EncodeOne(cp, byte);
}

} // namespace kwizmar
