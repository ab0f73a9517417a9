#include "settings/Language.h"

#include <algorithm>
#include <cctype>

namespace lv {

std::string ResolveLanguage(const std::optional<std::string>& storedLang,
                            const std::string& systemLanguage) {
    std::string name;
    if (storedLang) {
        name = *storedLang == "de" ? std::string(kLanguageGerman) : *storedLang;
    } else {
        name = systemLanguage;
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.find("deutsch") != std::string::npos ? kLanguageGerman : kLanguageEnglish;
}

} // namespace lv
