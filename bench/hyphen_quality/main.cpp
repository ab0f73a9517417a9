// For each language: hyphenate Debian's word list with our pattern file (the
// program's syllable rules off) and with libhyphen on the complete source
// dictionary, and print how often the two agree and how fast each one is.
//
//   bench_hyphen_quality [--data DIR] [--lang de|en|fr|it|es]
//
// Points are compared where libhyphen hyphenates at all: at least two
// characters (or the dictionary's own minimum) on either side of a break, and
// never beside a hyphen already in the word.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "DicFile.h"
#include "Reference.h"
#include "lyrics/Hyphen.h"

namespace {

struct TLanguage {
    const char* Code;
    const char* Dic;
    const char* Words;
    const char* File;
};

constexpr TLanguage kLanguages[] = {
    {"de", "/usr/share/hyphen/hyph_de_DE.dic", "/usr/share/dict/ngerman", "Lang_ger.hyp"},
    {"en", "/usr/share/hyphen/hyph_en_US.dic", "/usr/share/dict/american-english", "Lang_eng.hyp"},
    {"fr", "/usr/share/hyphen/hyph_fr.dic", "/usr/share/dict/french", "Lang_fre.hyp"},
    {"it", "/usr/share/hyphen/hyph_it_IT.dic", "/usr/share/dict/italian", "Lang_ita.hyp"},
    {"es", "/usr/share/hyphen/hyph_es_ES.dic", "/usr/share/dict/spanish", "Lang_spa.hyp"},
};

using Clock = std::chrono::steady_clock;

// Runs fn over all words until at least half a second has passed; words per second.
template <typename F> double WordsPerSecond(std::size_t words, F fn) {
    const auto start = Clock::now();
    std::size_t done = 0;
    do {
        fn();
        done += words;
    } while (Clock::now() - start < std::chrono::milliseconds(500));
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    return done / s;
}

void Run(const TLanguage& l, const std::string& dataDir) {
    const lvhyph::TDicFile dic = lvhyph::ReadDic(l.Dic);
    auto words = lvhyph::ReadWordList(l.Words, dic);
    lvhyph::ComputeReference(l.Dic, dic, words);

    lv::THyphenEngine engine;
    engine.LoadFile(dataDir + "/" + l.File);
    long long same = 0, points = 0, found = 0, extra = 0;
    for (const auto& r : words) {
        const auto values = engine.HyphenValues(r.Word, false);
        std::uint64_t got = 0;
        for (int g = std::max(1, r.Lo); g <= r.Hi && g < static_cast<int>(values.size()); ++g)
            if ((values[g] & 1) && r.Word[g - 1] != '-' && r.Word[g] != '-')
                got |= std::uint64_t{1} << g;
        same += got == r.Breaks;
        points += __builtin_popcountll(r.Breaks);
        found += __builtin_popcountll(got & r.Breaks);
        extra += __builtin_popcountll(got & ~r.Breaks);
    }

    std::size_t sink = 0;
    const double ours = WordsPerSecond(words.size(), [&] {
        for (const auto& r : words)
            sink += engine.HyphenateWord(r.Word).size();
    });
    lvhyph::TDictPtr dict(hnj_hyphen_load(l.Dic));
    std::vector<char> hyphens(200), hyphenated(400);
    const double theirs = WordsPerSecond(words.size(), [&] {
        for (const auto& r : words) {
            char** rep = nullptr;
            int* pos = nullptr;
            int* cut = nullptr;
            hnj_hyphen_hyphenate2(dict.get(), r.DictWord.c_str(),
                                  static_cast<int>(r.DictWord.size()), hyphens.data(),
                                  hyphenated.data(), &rep, &pos, &cut);
            sink += hyphenated[0];
        }
    });
    std::printf("%-4s %9zu %10.2f %% %10.2f %% %9lld %14.0f %14.0f\n", l.Code, words.size(),
                100.0 * same / std::max<std::size_t>(1, words.size()),
                100.0 * found / std::max(1LL, points), extra, ours, theirs);
    if (sink == 42) std::printf(" ");
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir = LV_HYPHEN_DATA_DIR, only;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--data")
            dataDir = argv[i + 1];
        else if (a == "--lang")
            only = argv[i + 1];
    }
    std::printf("lang     words  identical  pts found  extra pts  ours words/s  libhyphen w/s\n");
    for (const auto& l : kLanguages) {
        if (!only.empty() && only != l.Code) continue;
        try {
            Run(l, dataDir);
        } catch (const std::exception& e) {
            std::printf("%-4s %s\n", l.Code, e.what());
        }
    }
    return 0;
}
