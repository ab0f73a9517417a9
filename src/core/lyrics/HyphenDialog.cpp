#include "lyrics/HyphenDialog.h"

#include "lyrics/Hyphen.h"
#include "text/MessagesHyphen.h"

namespace lv {

const char* PatternFileName(THyphenLanguage lang) {
    switch (lang) {
    case THyphenLanguage::German:
        return "Lang_ger.hyp";
    case THyphenLanguage::English:
        return "Lang_eng.hyp";
    case THyphenLanguage::French:
        return "Lang_fre.hyp";
    case THyphenLanguage::Italian:
        return "Lang_ita.hyp";
    case THyphenLanguage::Spanish:
        return "Lang_spa.hyp";
    }
    return "Lang_ger.hyp";
}

bool ParseHyphenLanguage(const std::string& code, THyphenLanguage& lang) {
    static const struct {
        const char* Code;
        THyphenLanguage Lang;
    } kCodes[] = {{"de", THyphenLanguage::German},
                  {"en", THyphenLanguage::English},
                  {"fr", THyphenLanguage::French},
                  {"it", THyphenLanguage::Italian},
                  {"es", THyphenLanguage::Spanish}};
    for (const auto& c : kCodes)
        if (code == c.Code) {
            lang = c.Lang;
            return true;
        }
    return false;
}

THyphenationFormLayout HyphenationFormLayout(const std::string& language) {
    THyphenationFormLayout f;
    f.Caption = Tr(language, msg::kHyphenFormCaption);
    f.GroupCaption = Tr(language, msg::kHyphenGroupLanguage);
    f.OkCaption = Tr(language, msg::kHyphenOk);
    f.CancelCaption = Tr(language, msg::kHyphenCancel);
    auto button = [&](const char* name, THyphenLanguage lang, const TMessage& caption) {
        return THyphenButton{name, lang, Tr(language, caption), PatternFileName(lang)};
    };
    f.Buttons = {button("RB_German", THyphenLanguage::German, msg::kHyphenGerman),
                 button("RB_English", THyphenLanguage::English, msg::kHyphenEnglish),
                 button("RB_French", THyphenLanguage::French, msg::kHyphenFrench),
                 button("RB_Italien", THyphenLanguage::Italian, msg::kHyphenItalian),
                 button("RB_Spanish", THyphenLanguage::Spanish, msg::kHyphenSpanish)};
    if (!IsGerman(language)) std::swap(f.Buttons[0], f.Buttons[1]);
    f.Checked = THyphenLanguage::German;
    return f;
}

void HyphenationOk(THyphenLanguage checked, std::vector<std::string>& lines,
                   const std::string& language) {
    LoadPatterns(PatternFileName(checked), language);
    // Nothing in the pass throws; release the image even so.
    struct TRelease {
        ~TRelease() { ReleasePatterns(); }
    } release;
    HyphenateLines(lines);
}

} // namespace lv
