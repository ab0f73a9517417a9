// The five pattern files shipped beside the program: their layout and a few
// real words per language (Windows-1252 text, as lyrics are stored).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lyrics/Hyphen.h"

namespace {

std::string DataPath(const std::string& file) {
    return std::string(LV_SOURCE_DIR) + "/data/hyphen/" + file;
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool IsVowelLetter(unsigned char b) {
    static const std::string vowels = "aeiouyAEIOUY\x9C\x8C\x9F\xFF";
    if (vowels.find(static_cast<char>(b)) != std::string::npos) return true;
    return (b >= 0xC0 && b <= 0xC6) || (b >= 0xC8 && b <= 0xCF) || (b >= 0xD2 && b <= 0xD6) ||
           b == 0xD8 || (b >= 0xD9 && b <= 0xDD) || (b >= 0xE0 && b <= 0xE6) ||
           (b >= 0xE8 && b <= 0xEF) || (b >= 0xF2 && b <= 0xF6) || b == 0xF8 ||
           (b >= 0xF9 && b <= 0xFD);
}

const char* const kFiles[] = {"Lang_ger.hyp", "Lang_eng.hyp", "Lang_fre.hyp", "Lang_ita.hyp",
                              "Lang_spa.hyp"};

// The engine's vowel set is fixed, so every file must put vowels (accented
// ones included) on vowel codes and consonants elsewhere; upper and lower case
// share a code, and the hyphen frames words so re-hyphenating works.
TEST(HyphenFiles, TranslationTablesFitTheEngine) {
    for (const char* name : kFiles) {
        SCOPED_TRACE(name);
        const auto img = ReadAll(DataPath(name));
        ASSERT_GT(img.size(), lv::kTrieOffset);
        ASSERT_LE(img.size(), lv::kTrieOffset + 4u * (lv::kTrieLastEntry + 1));
        const std::uint8_t* t = img.data() + lv::kTranslationOffset;
        for (int c = 'a'; c <= 'z'; ++c) {
            EXPECT_EQ(lv::IsHyphenVowel(t[c]), IsVowelLetter(static_cast<unsigned char>(c))) << c;
            EXPECT_EQ(t[c], t[c - 32]);
        }
        for (int c = 0xE0; c <= 0xFE; ++c) {
            if (c == 0xF7) continue;
            EXPECT_EQ(lv::IsHyphenVowel(t[c]), IsVowelLetter(static_cast<unsigned char>(c))) << c;
            if (c != 0xDF + 32) EXPECT_EQ(t[c], t[c - 32]) << c;
        }
        EXPECT_EQ(t['-'], lv::kBoundaryCode);
        EXPECT_EQ(t[' '], lv::kBoundaryCode);
        EXPECT_EQ(t[','], lv::kBoundaryCode);
        // Trie entry 0 stays empty: the engine falls back to it.
        EXPECT_EQ(img[lv::kTrieOffset + 3], 0);
    }
}

struct TRealWord {
    const char* File;
    const char* Word; // Windows-1252
    const char* Expected;
};

class HyphenRealWords : public ::testing::TestWithParam<TRealWord> {};

TEST_P(HyphenRealWords, SplitLikeADictionary) {
    lv::THyphenEngine e;
    e.LoadFile(DataPath(GetParam().File));
    EXPECT_EQ(e.HyphenateWord(GetParam().Word), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Words, HyphenRealWords,
    ::testing::Values(TRealWord{"Lang_ger.hyp", "Sonnenschein", "Son-nen-schein"},
                      // Patterns starting at the second-last letter count ("-ne").
                      TRealWord{"Lang_ger.hyp", "Maschine", "Ma-schi-ne"},
                      TRealWord{"Lang_ita.hyp", "finestra", "fi-ne-stra"},
                      TRealWord{"Lang_ger.hyp", "Silbentrennung", "Sil-ben-tren-nung"},
                      TRealWord{"Lang_ger.hyp",
                                "M\xE4"
                                "dchen",
                                "M\xE4"
                                "d-chen"},
                      TRealWord{"Lang_ger.hyp",
                                "\xFC"
                                "bermorgen,",
                                "\xFC"
                                "ber-mor-gen,"},
                      TRealWord{"Lang_ger.hyp",
                                "Stra\xDF"
                                "e",
                                "Stra-\xDF"
                                "e"},
                      TRealWord{"Lang_eng.hyp", "beautiful", "beau-ti-ful"},
                      TRealWord{"Lang_eng.hyp", "remember", "re-mem-ber"},
                      TRealWord{"Lang_eng.hyp", "Hyphenation", "Hy-phen-ation"},
                      TRealWord{"Lang_fre.hyp", "libert\xE9", "li-ber-t\xE9"},
                      TRealWord{"Lang_fre.hyp", "chanson", "chan-son"},
                      TRealWord{"Lang_fre.hyp", "c\x9Cur", "c\x9Cur"},
                      TRealWord{"Lang_ita.hyp", "cantare", "can-ta-re"},
                      TRealWord{"Lang_ita.hyp", "ragazza", "ra-gaz-za"},
                      TRealWord{"Lang_ita.hyp", "Bologna", "Bo-lo-gna"},
                      TRealWord{"Lang_spa.hyp", "coraz\xF3n", "co-ra-z\xF3n"},
                      TRealWord{"Lang_spa.hyp",
                                "ma\xF1"
                                "ana",
                                "ma-\xF1"
                                "a-na"},
                      TRealWord{"Lang_spa.hyp", "guitarra", "gui-ta-rra"}));

} // namespace
