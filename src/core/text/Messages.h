#pragma once
// The bilingual message catalogue. Each subsystem keeps its texts in a
// Messages<Subsystem>.h beside this file as TMessage constants; Tr picks the
// wording for the user's language. Texts are UTF-8 (program text, not lyrics).
#include <string>

namespace lv {

inline constexpr const char* kAppTitle = "Lyrivox";

struct TMessage {
    const char* De;
    const char* En;  // nullptr when the text exists in German only
};

// "Deutsch" selects German; every other value English.
inline bool IsGerman(const std::string& language) { return language == "Deutsch"; }

inline std::string Tr(const std::string& language, const TMessage& m) {
    if (IsGerman(language) || m.En == nullptr) return m.De;
    return m.En;
}

} // namespace lv
