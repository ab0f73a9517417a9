#pragma once
// The user interface language, decided once at start-up.
#include <optional>
#include <string>

namespace lv {

inline constexpr const char* kLanguageGerman = "Deutsch";
inline constexpr const char* kLanguageEnglish = "Englisch";

// storedLang: the stored value "Lang" when it exists ("de" or "en" as the
// options dialog writes it). systemLanguage: the system's name of its default
// language ("Deutsch" on German systems). Returns "Deutsch" or "Englisch".
std::string ResolveLanguage(const std::optional<std::string>& storedLang,
                            const std::string& systemLanguage);

} // namespace lv
