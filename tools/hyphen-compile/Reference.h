#pragma once
// The word list and libhyphen's answer for every word: the yardstick the
// compiler selects patterns by and the quality benchmark measures against.
#include <hyphen.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "Cp1252.h"
#include "DicFile.h"

namespace lvhyph {

inline constexpr std::size_t kMaxWord = 63;

struct TRefWord {
    std::string Word;         // Windows-1252, lower case
    std::string DictWord;     // the same in the dictionary's charset
    std::uint64_t Breaks = 0; // bit g: libhyphen breaks after character g
    int Lo = 0, Hi = -1;      // gaps compared: Lo..Hi
};

// Lower-cased Windows-1252 words of 3..63 characters, duplicates removed.
inline std::vector<TRefWord> ReadWordList(const std::string& path, const TDicFile& dic) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::vector<TRefWord> words;
    std::unordered_set<std::string> seen;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        const auto w = Utf8ToCp1252(line);
        if (!w || w->size() < 3 || w->size() > kMaxWord) continue;
        const std::string lower = Lower1252(*w);
        if (lower.find(' ') != std::string::npos || !seen.insert(lower).second) continue;
        const auto dw = Cp1252ToDic(dic, lower);
        if (!dw) continue;
        TRefWord r;
        r.Word = lower;
        r.DictWord = *dw;
        words.push_back(std::move(r));
    }
    return words;
}

struct TDictCloser {
    void operator()(HyphenDict* d) const { hnj_hyphen_free(d); }
};
using TDictPtr = std::unique_ptr<HyphenDict, TDictCloser>;

// Gaps compared: at least two characters (or the dictionary's own minimum) on
// either side, where libhyphen hyphenates at all.
inline void SetWindow(TRefWord& r, const TDicFile& dic) {
    const int n = static_cast<int>(r.Word.size());
    r.Lo = std::max(2, dic.LeftMin);
    r.Hi = n - std::max(2, dic.RightMin);
}

// Runs libhyphen on one word; false when its output does not line up with the
// word (a non-standard replacement), so the word is left out.
inline bool LibhyphenBreaks(HyphenDict* dict, const TDicFile& dic, const std::string& dictWord,
                            std::uint64_t& breaks) {
    const int n = static_cast<int>(dictWord.size());
    std::vector<char> hyphens(n + 5, 0);
    std::vector<char> hyphenated(2 * n + 10, 0);
    char** rep = nullptr;
    int* pos = nullptr;
    int* cut = nullptr;
    hnj_hyphen_hyphenate2(dict, dictWord.c_str(), n, hyphens.data(), hyphenated.data(), &rep, &pos,
                          &cut);
    if (rep) {
        for (int i = 0; i < n; ++i)
            free(rep[i]);
        free(rep);
        free(pos);
        free(cut);
    }
    const auto text = DicToCp1252(dic, hyphenated.data());
    if (!text) return false;
    breaks = 0;
    int chars = 0;
    for (std::size_t i = 0; i < text->size(); ++i) {
        if ((*text)[i] == '=') {
            if (chars > 0 && chars < 64) breaks |= std::uint64_t{1} << chars;
        } else {
            ++chars;
        }
    }
    const auto plain = DicToCp1252(dic, dictWord);
    return plain && static_cast<int>(plain->size()) == chars;
}

inline std::uint64_t WindowMask(const TRefWord& r) {
    std::uint64_t m = 0;
    for (int g = std::max(1, r.Lo); g <= r.Hi && g < 64; ++g)
        m |= std::uint64_t{1} << g;
    return m;
}

// Fills Breaks and the window of every word; drops words libhyphen cannot take.
inline void ComputeReference(const std::string& dicPath, const TDicFile& dic,
                             std::vector<TRefWord>& words) {
    TDictPtr dict(hnj_hyphen_load(dicPath.c_str()));
    if (!dict) throw std::runtime_error("libhyphen cannot load " + dicPath);
    std::vector<TRefWord> kept;
    kept.reserve(words.size());
    for (auto& r : words) {
        if (!LibhyphenBreaks(dict.get(), dic, r.DictWord, r.Breaks)) continue;
        SetWindow(r, dic);
        r.Breaks &= WindowMask(r);
        kept.push_back(std::move(r));
    }
    words = std::move(kept);
}

} // namespace lvhyph
