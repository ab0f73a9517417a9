#include "text/CodePage.h"

#include <array>

namespace lv {

namespace {

// 0x80..0x9F of Windows-1252; the undefined bytes map to themselves.
constexpr std::array<char16_t, 32> k1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

int EncodeByte(TCodePage page, char32_t cp) {
    switch (page) {
    case TCodePage::Windows1252:
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
        for (std::size_t i = 0; i < k1252High.size(); ++i)
            if (k1252High[i] == cp) return static_cast<int>(0x80 + i);
        return -1;
    }
    return -1;
}

} // namespace

TCodePage CodePageForCharset(std::int32_t) {
    // Only the Western table exists so far; other character sets (238 Eastern
    // European, 204 Cyrillic, 161 Greek, 162 Turkish, ...) get theirs here.
    return TCodePage::Windows1252;
}

char32_t DecodeByte(TCodePage page, std::uint8_t byte) {
    switch (page) {
    case TCodePage::Windows1252:
        if (byte >= 0x80 && byte < 0xA0) return k1252High[byte - 0x80];
        return byte;
    }
    return byte;
}

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

std::string DecodeToUtf8(std::string_view bytes, TCodePage page) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (unsigned char b : bytes)
        AppendUtf8(out, DecodeByte(page, b));
    return out;
}

std::string EncodeFromUtf8(std::string_view utf8, TCodePage page, std::size_t* replaced) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t bad = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t len = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
        char32_t cp = 0;
        bool ok = len != 0 && i + len <= utf8.size();
        if (ok) {
            cp = len == 1 ? lead : lead & (0x7F >> len);
            for (std::size_t k = 1; k < len && ok; ++k) {
                const auto c = static_cast<unsigned char>(utf8[i + k]);
                ok = (c & 0xC0) == 0x80;
                cp = (cp << 6) | (c & 0x3F);
            }
        }
        if (!ok) {
            out += '?';
            ++bad;
            ++i;
            continue;
        }
        i += len;
        const int b = EncodeByte(page, cp);
        if (b < 0) {
            out += '?';
            ++bad;
        } else {
            out += static_cast<char>(b);
        }
    }
    if (replaced) *replaced = bad;
    return out;
}

} // namespace lv
