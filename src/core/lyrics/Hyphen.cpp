#include "lyrics/Hyphen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "text/MessagesHyphen.h"

namespace lv {

namespace {

// Room for the framed word: boundary, 63 letters, boundary, stop code.
constexpr std::size_t kCodeSlots = kMaxHyphenWord + 3;
// Gaps 0..64: a pattern ending on the trailing boundary writes the gap after it.
constexpr std::size_t kValueSlots = kMaxHyphenWord + 2;

bool IsSpace(char c) {
    return c == ' ';
}

std::string FormatPath(const std::string& language, const std::string& path) {
    const std::string pattern = Tr(language, msg::kHyphenFileError);
    std::string out;
    const auto at = pattern.find("%s");
    out = pattern.substr(0, at) + path + pattern.substr(at + 2);
    return out;
}

} // namespace

bool IsHyphenVowel(int c) {
    return (c >= 1 && c <= 31) || c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' ||
           c == 'y';
}

THyphenEngine::THyphenEngine() = default;

void THyphenEngine::LoadFile(const std::string& path, const std::string& language) {
    auto image = std::make_unique<std::array<std::uint8_t, kPatternImageSize>>();
    image->fill(0);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EInOutError(FormatPath(language, path));
    in.read(reinterpret_cast<char*>(image->data()), kPatternImageSize);
    if (in.bad()) throw EInOutError(FormatPath(language, path));
    Image_ = std::move(image);
}

void THyphenEngine::LoadImage(const std::uint8_t* data, std::size_t size) {
    auto image = std::make_unique<std::array<std::uint8_t, kPatternImageSize>>();
    image->fill(0);
    if (size > kPatternImageSize) size = kPatternImageSize;
    if (size) std::memcpy(image->data(), data, size);
    Image_ = std::move(image);
}

std::vector<std::uint8_t> THyphenEngine::HyphenValues(const std::string& word,
                                                      bool programRules) const {
    const std::size_t hn = word.size();
    if (!Image_ || hn < 3 || hn > kMaxHyphenWord) return {};
    const std::uint8_t* img = Image_->data();
    const std::uint8_t* translation = img + kTranslationOffset;
    const std::uint8_t* distance = img + kOpDistanceOffset;
    const std::uint8_t* opValue = img + kOpValueOffset;
    const std::uint8_t* chain = img + kOpChainOffset;
    auto link = [img](int z) {
        const std::uint8_t* e = img + kTrieOffset + 4 * static_cast<std::size_t>(z);
        return static_cast<int>(e[0] | (e[1] << 8));
    };
    auto op = [img](int z) { return img[kTrieOffset + 4 * static_cast<std::size_t>(z) + 2]; };
    auto letter = [img](int z) { return img[kTrieOffset + 4 * static_cast<std::size_t>(z) + 3]; };

    std::array<int, kCodeSlots> code{};
    code[0] = kBoundaryCode;
    for (std::size_t i = 1; i <= hn; ++i)
        code[i] = translation[static_cast<unsigned char>(word[i - 1])];
    code[hn + 1] = kBoundaryCode;
    code[hn + 2] = kStopCode;
    std::vector<std::uint8_t> value(kValueSlots, 0);

    // A pattern may start at every letter but the last one (a pattern from the
    // last letter on could only mark gaps the rules below clear anyway).
    const int lastStart = static_cast<int>(hn) - 1;
    for (int j = 0; j <= lastStart; ++j) {
        int l = j;
        int z = code[j];
        // code[hn + 2] is the stop code, which no trie letter equals, so l
        // never passes hn + 1 and z stays within 0..8000.
        while (letter(z) == code[l]) {
            int v = op(z);
            // A well-formed chain visits each operation once; a file whose
            // chain loops is cut off after as many steps as there are numbers.
            for (int steps = 0; v != 0 && steps < 255; ++steps) {
                const int i = l - distance[v];
                if (i >= 0 && opValue[v] > value[i]) value[i] = opValue[v];
                v = chain[v];
            }
            ++l;
            z = link(z) + code[l];
            if (z > kTrieLastEntry) z = 0;
        }
    }

    if (programRules) {
        // The rules look at the letters of the word. Characters the table
        // maps to the word boundary (a comma, a bracket) stay outside, so
        // "Liebe," keeps its last syllable "be," whole like "Liebe" does.
        int s = 1, e = static_cast<int>(hn);
        while (s <= e && code[s] == kBoundaryCode)
            ++s;
        while (e >= s && code[e] == kBoundaryCode)
            --e;
        for (int i = 0; i < s && i < static_cast<int>(kValueSlots); ++i)
            value[i] = 0;
        for (int i = std::max(e, 0); i < static_cast<int>(kValueSlots); ++i)
            value[i] = 0;
        if (e - s + 1 < 3) {
            std::fill(value.begin(), value.end(), 0);
        } else {
            // A single first letter only goes off as a vowel before a consonant.
            if (!IsHyphenVowel(code[s]) || IsHyphenVowel(code[s + 1])) value[s] = 0;
            if (!IsHyphenVowel(code[s + 1]) && (value[s + 1] & 1)) value[s] = 0;
            // The last syllable holds a vowel and a consonant, and something
            // with a vowel stays before it.
            if (IsHyphenVowel(code[e - 1]) == IsHyphenVowel(code[e])) {
                value[e - 2] = 0;
            } else {
                bool vowelBefore = false;
                for (int i = s; i <= e - 2; ++i)
                    vowelBefore = vowelBefore || IsHyphenVowel(code[i]);
                if (!vowelBefore) value[e - 2] = 0;
            }
            // Never a one-letter last syllable, never a hyphen after the word.
            value[e - 1] = 0;
            value[e] = 0;
        }
    }
    value.resize(hn + 2);
    return value;
}

std::string THyphenEngine::HyphenateWord(const std::string& word) const {
    const std::vector<std::uint8_t> value = HyphenValues(word, true);
    if (value.empty()) return word;
    const std::size_t hn = word.size();
    std::string out;
    out.reserve(hn * 2);
    for (std::size_t i = 1; i <= hn; ++i) {
        out += word[i - 1];
        // Never a hyphen beside one that is already there.
        const bool nextIsHyphen = i < hn && word[i] == '-';
        if ((value[i] & 1) && word[i - 1] != '-' && !nextIsHyphen) out += '-';
    }
    return out;
}

// --- the module-level engine ------------------------------------------------

namespace {
THyphenEngine& ModuleEngine() {
    static THyphenEngine engine;
    return engine;
}
std::string& ModuleDirectory() {
    static std::string dir = ".";
    return dir;
}
} // namespace

void SetPatternDirectory(const std::string& directory) {
    ModuleDirectory() = directory;
}
const std::string& PatternDirectory() {
    return ModuleDirectory();
}

void LoadPatterns(const std::string& fileName, const std::string& language) {
    std::string dir = ModuleDirectory();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    ModuleEngine().LoadFile(dir + fileName, language);
}

std::string HyphenateWord(const std::string& word) {
    return ModuleEngine().HyphenateWord(word);
}

void ReleasePatterns() {
    ModuleEngine().Release();
}

// --- the text pass -----------------------------------------------------------

namespace {

void TrimRight(std::string& s) {
    while (!s.empty() && IsSpace(s.back()))
        s.pop_back();
}

std::string HyphenateLine(const THyphenEngine& engine, const std::string& line) {
    std::string out;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = i;
        if (IsSpace(line[i])) {
            while (i < line.size() && IsSpace(line[i]))
                ++i;
            out.append(line, start, i - start);
        } else {
            while (i < line.size() && !IsSpace(line[i]))
                ++i;
            out += engine.HyphenateWord(line.substr(start, i - start));
        }
    }
    return out;
}

} // namespace

void HyphenateLines(const THyphenEngine& engine, std::vector<std::string>& lines) {
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string& line = lines[n];
        TrimRight(line); // a blank line ends up empty
        if (n < 2 || line.empty() || line.find("_Takt") != std::string::npos) continue;
        line = HyphenateLine(engine, line);
    }
}

void HyphenateLines(std::vector<std::string>& lines) {
    HyphenateLines(ModuleEngine(), lines);
}

} // namespace lv
