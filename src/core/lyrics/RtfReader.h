#pragma once
// The plain text of an RTF document, as a rich-edit control shows it when the
// document is loaded and read back as plain text: paragraphs and line breaks
// become line ends, tabs stay tabs, font, colour and style tables, document
// information, pictures and every "\*" destination are dropped.
//
// Text comes out as bytes in Windows-1252: "\'hh" gives the byte hh, "\uN"
// gives the Windows-1252 byte of the character when there is one and the
// document's own fallback text (\ucN characters, default 1) otherwise.
// Any input is accepted; nesting deeper than a fixed limit is read flat.
#include <cstdint>
#include <string>
#include <string_view>

namespace lv {

// Whether the bytes start like an RTF document ("{\rtf", after blanks).
bool LooksLikeRtf(std::string_view data);

// The plain text of the document, lines separated by "\n".
std::string RtfToPlainText(std::string_view rtf);

// The Windows-1252 byte of a Unicode code point, or -1 when it has none.
int UnicodeToCp1252(std::int64_t codePoint);

} // namespace lv
