#pragma once
// LV_Hyphenation: the language dialog of the hyphenation command as data. The
// window shows these captions and buttons; "OK" runs HyphenationOk.
#include <string>
#include <vector>

namespace lv {

enum class THyphenLanguage { German, English, French, Italian, Spanish };

struct THyphenButton {
    std::string Name; // RB_German, ...
    THyphenLanguage Language;
    std::string Caption;
    std::string PatternFile; // "Lang_ger.hyp", ...
};

struct THyphenationFormLayout {
    std::string Caption;       // the dialog
    std::string GroupCaption;  // GB_Language
    std::string OkCaption;     // Btn_Ok
    std::string CancelCaption; // Btn_Cancel
    // Top to bottom; the German wording lists German first, every other one
    // English first.
    std::vector<THyphenButton> Buttons;
    THyphenLanguage Checked = THyphenLanguage::German; // checked at start
};

THyphenationFormLayout HyphenationFormLayout(const std::string& language);

const char* PatternFileName(THyphenLanguage lang);

// Parses "de", "en", "fr", "it", "es"; false for anything else.
bool ParseHyphenLanguage(const std::string& code, THyphenLanguage& lang);

// "OK": loads the pattern file of the checked language from the pattern
// directory, hyphenates the editor lines and releases the patterns. When the
// file cannot be read, EInOutError leaves before any line is touched.
void HyphenationOk(THyphenLanguage checked, std::vector<std::string>& lines,
                   const std::string& language = "");

} // namespace lv
