#pragma once
// Windows-1252, the 8-bit character set of lyric text, and the conversions the
// pattern compiler and its benchmark need (UTF-8 and ISO 8859-1 sources).
#include <cstdint>
#include <optional>
#include <string>

namespace lvhyph {

// Unicode of 0x80..0x9F; 0 where Windows-1252 leaves the byte undefined.
inline constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

inline std::optional<unsigned char> CodePointToCp1252(std::uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

inline std::uint32_t Cp1252ToCodePoint(unsigned char b) {
    if (b >= 0x80 && b < 0xA0) return kCp1252High[b - 0x80];
    return b;
}

// UTF-8 -> Windows-1252; nullopt for malformed text or characters outside the set.
inline std::optional<std::string> Utf8ToCp1252(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::uint32_t cp;
        int len;
        if (c < 0x80)
            cp = c, len = 1;
        else if ((c & 0xE0) == 0xC0)
            cp = c & 0x1F, len = 2;
        else if ((c & 0xF0) == 0xE0)
            cp = c & 0x0F, len = 3;
        else if ((c & 0xF8) == 0xF0)
            cp = c & 0x07, len = 4;
        else
            return std::nullopt;
        if (i + len > s.size()) return std::nullopt;
        for (int k = 1; k < len; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (d & 0x3F);
        }
        const auto b = CodePointToCp1252(cp);
        if (!b) return std::nullopt;
        out += static_cast<char>(*b);
        i += len;
    }
    return out;
}

inline std::string Cp1252ToUtf8(const std::string& s) {
    std::string out;
    for (unsigned char b : s) {
        const std::uint32_t cp = Cp1252ToCodePoint(b);
        if (cp < 0x80)
            out += static_cast<char>(cp);
        else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

// ISO 8859-1 -> Windows-1252: the same bytes except the C1 controls, which
// have no place in words.
inline std::optional<std::string> Latin1ToCp1252(const std::string& s) {
    for (unsigned char b : s)
        if (b >= 0x80 && b < 0xA0) return std::nullopt;
    return s;
}

inline std::optional<std::string> Cp1252ToLatin1(const std::string& s) {
    for (unsigned char b : s)
        if (b >= 0x80 && b < 0xA0) return std::nullopt;
    return s;
}

inline unsigned char Lower1252(unsigned char b) {
    if (b >= 'A' && b <= 'Z') return b + 32;
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return b + 32;
    switch (b) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return b;
    }
}

inline bool IsLetter1252(unsigned char b) {
    b = Lower1252(b);
    if (b >= 'a' && b <= 'z') return true;
    if (b >= 0xDF && b != 0xF7) return true;
    return b == 0x9A || b == 0x9C || b == 0x9E || b == 0x83 || b == 0xAA || b == 0xB5 || b == 0xBA;
}

inline bool IsVowel1252(unsigned char b) {
    b = Lower1252(b);
    switch (b) {
    case 'a':
    case 'e':
    case 'i':
    case 'o':
    case 'u':
    case 'y':
    case 0x9C: // oe
    case 0xFF: // y diaeresis
        return true;
    default:
        return (b >= 0xE0 && b <= 0xE6) || (b >= 0xE8 && b <= 0xEF) || (b >= 0xF2 && b <= 0xF6) ||
               b == 0xF8 || (b >= 0xF9 && b <= 0xFD);
    }
}

inline std::string Lower1252(const std::string& s) {
    std::string out = s;
    for (auto& c : out)
        c = static_cast<char>(Lower1252(static_cast<unsigned char>(c)));
    return out;
}

} // namespace lvhyph
