#pragma once
// Single-byte code pages of the lyric texts. Lyric bytes stay bytes in the
// model; only the view (and the JSON of the CLI) turns them into Unicode, and
// typed text goes back through Encode. Every byte has a decoding, so a text
// survives the way there and back unchanged.
#include <cstdint>
#include <string>
#include <string_view>

namespace lv {

// Windows code page numbers.
enum class TCodePage : std::uint16_t {
    Windows1252 = 1252, // Western European (the default)
};

// The code page of a font character set as the settings store it
// (FontCharset: 0 ANSI, 1 default, ...). Character sets without a table yet
// fall back to Windows-1252, which still keeps every byte.
TCodePage CodePageForCharset(std::int32_t fontCharset);

// The Unicode code point of one byte.
char32_t DecodeByte(TCodePage page, std::uint8_t byte);

// Bytes -> UTF-8. The five bytes Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the C1 control characters of the same value.
std::string DecodeToUtf8(std::string_view bytes, TCodePage page = TCodePage::Windows1252);

// UTF-8 -> bytes. Characters the code page cannot hold become '?'; malformed
// UTF-8 sequences become '?' too. Returns the number of replaced characters
// in *replaced when given.
std::string EncodeFromUtf8(std::string_view utf8, TCodePage page = TCodePage::Windows1252,
                           std::size_t* replaced = nullptr);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

} // namespace lv
