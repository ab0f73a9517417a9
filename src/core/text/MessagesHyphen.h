#pragma once
// Texts of the hyphenation dialog and its pattern files.
#include "text/Messages.h"

namespace lv::msg {

inline constexpr TMessage kHyphenFormCaption{" Silbentrennung", "Hyphenate"};
inline constexpr TMessage kHyphenGroupLanguage{" Sprache ", "Language"};
inline constexpr TMessage kHyphenOk{"OK", "OK"};
inline constexpr TMessage kHyphenCancel{"Abbrechen", "Cancel"};
inline constexpr TMessage kHyphenMenu{"Silbentrennung", "Hyphenate"};
inline constexpr TMessage kHyphenPopupMenu{"&Silbentrennung", "&Hyphenate"};

inline constexpr TMessage kHyphenGerman{"Deutsch", "german"};
inline constexpr TMessage kHyphenEnglish{"Englisch", "english"};
inline constexpr TMessage kHyphenFrench{"Französisch", "french"};
inline constexpr TMessage kHyphenItalian{"Italienisch", "italian"};
inline constexpr TMessage kHyphenSpanish{"Spanisch", "spanish"};

// The input/output error of a pattern file that cannot be opened or read;
// %s is the full path.
inline constexpr TMessage kHyphenFileError{
    "Die Silbentrennungsdatei \"%s\" kann nicht gelesen werden.",
    "The hyphenation file \"%s\" cannot be read."};

} // namespace lv::msg
