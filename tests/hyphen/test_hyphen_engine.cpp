// The word algorithm on small hand-made pattern images: pattern matching, the
// program's syllable rules, existing hyphens and hostile images.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "PatternFixture.h"
#include "lyrics/Hyphen.h"

namespace {

using lv::THyphenEngine;

THyphenEngine EngineWith(const std::vector<std::string>& patterns) {
    THyphenEngine e;
    e.LoadImage(lvtest::TPatternFixture(patterns).Image);
    return e;
}

struct TWordCase {
    std::vector<std::string> Patterns;
    std::string Word, Expected;
};

class HyphenWord : public ::testing::TestWithParam<TWordCase> {};

TEST_P(HyphenWord, FollowsPatternsAndRules) {
    const auto& c = GetParam();
    EXPECT_EQ(EngineWith(c.Patterns).HyphenateWord(c.Word), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HyphenWord,
    ::testing::Values(
        // Short words are never touched.
        TWordCase{{"1b", "a1", "1a"}, "ab", "ab"}, TWordCase{{"1b"}, "b", "b"},
        TWordCase{{"1b"}, "", ""},
        // Plain breaks; the highest number wins, odd breaks, even keeps.
        TWordCase{{"e1b"}, "liebe", "lie-be"}, TWordCase{{"e1b", "ie2be"}, "liebe", "liebe"},
        TWordCase{{"e1b", "ie2be", "lie3b"}, "liebe", "lie-be"},
        // Upper case goes through the translation table.
        TWordCase{{"e1b"}, "LIEBE", "LIE-BE"},
        // Word edges: ".ab1" only at the start, "1en." only at the end.
        TWordCase{{".ab1"}, "abend", "ab-end"}, TWordCase{{".ab1"}, "raben", "raben"},
        TWordCase{{"1ben."}, "raben", "ra-ben"}, TWordCase{{"1ben."}, "rabent", "rabent"},
        // A pattern may start at the second-last letter ("1ne" in "sonne").
        TWordCase{{"1ne"}, "sonne", "son-ne"},
        // First letter: only a vowel before a consonant goes off alone.
        TWordCase{{"a1"}, "abend", "a-bend"}, TWordCase{{"o1"}, "oase", "oase"},
        TWordCase{{"s1"}, "sonne", "sonne"},
        // ... and not when the second letter is a consonant with a break after it.
        TWordCase{{"a1", "b1"}, "abendrot", "ab-endrot"},
        // Last syllable: never one letter, needs a vowel and a consonant, and
        // something with a vowel before it.
        TWordCase{{"1e."}, "liebe", "liebe"}, TWordCase{{"1be"}, "liebe", "lie-be"},
        TWordCase{{"1ee"}, "kaffee", "kaffee"}, TWordCase{{"1st"}, "angst", "angst"},
        TWordCase{{"1ab"}, "schab", "schab"},
        // Existing hyphens stay; no second hyphen next to one.
        TWordCase{{"e1b"}, "lie-be", "lie-be"}, TWordCase{{"e1", "1b"}, "lie-be", "lie-be"},
        TWordCase{{"n1n", "en1", "e1b"}, "sonnen-liebe", "son-nen-lie-be"},
        // Punctuation is passed on with the word; here it frames the word.
        // The syllable rules count the letters only: no lone "e" before the comma,
        // no lone "o" before a vowel after the bracket, nothing in "ab,".
        TWordCase{{"e1b", "1e."}, "liebe,", "lie-be,"}, TWordCase{{"e1b"}, "(liebe)", "(lie-be)"},
        TWordCase{{".o1"}, "(oase", "(oase"}, TWordCase{{"a1b"}, "ab,", "ab,"},
        TWordCase{{"a1b"}, "\"ab\"", "\"ab\""}));

TEST(HyphenEngine, WordsLongerThanTheWordStateComeBackUnchanged) {
    const THyphenEngine e = EngineWith({"a1b"});
    std::string w63, w64, w300;
    for (int i = 0; i < 21; ++i)
        w63 += "abx";
    w64 = w63 + "a";
    for (int i = 0; i < 100; ++i)
        w300 += "abx";
    EXPECT_NE(e.HyphenateWord(w63), w63); // the longest word still split
    EXPECT_EQ(e.HyphenateWord(w64), w64);
    EXPECT_EQ(e.HyphenateWord(w300), w300);
}

TEST(HyphenEngine, WithoutPatternsNothingChanges) {
    THyphenEngine none;
    EXPECT_EQ(none.HyphenateWord("liebe"), "liebe");
    const THyphenEngine empty = EngineWith({});
    EXPECT_EQ(empty.HyphenateWord("sonnenschein"), "sonnenschein");
}

TEST(HyphenEngine, ValuesWithoutRulesKeepEveryPatternBreak) {
    const THyphenEngine e = EngineWith({"b1e", "a1"});
    const auto raw = e.HyphenValues("abe", false);
    ASSERT_EQ(raw.size(), 5u);
    EXPECT_EQ(raw[1], 1); // a-be
    EXPECT_EQ(raw[2], 1); // ab-e
    const auto ruled = e.HyphenValues("abe", true);
    EXPECT_EQ(ruled[2], 0);
}

// Images as a file could hold them: an operation reaching before the word, a
// chain that loops, values above 9, links past the end. None of them may read
// or write outside the word state or hang.
TEST(HyphenEngine, HostileImagesStayInsideTheWordState) {
    lvtest::TPatternFixture f({"a1b", "b1c"});
    auto& img = f.Image;
    // Operation 1 reaches 200 letters back; operation 2 loops onto itself with value 200.
    img[lv::kOpDistanceOffset + 1] = 200;
    img[lv::kOpChainOffset + 1] = 2;
    img[lv::kOpDistanceOffset + 2] = 0;
    img[lv::kOpValueOffset + 2] = 201;
    img[lv::kOpChainOffset + 2] = 2;
    THyphenEngine e;
    e.LoadImage(img);
    EXPECT_EQ(e.HyphenateWord("abcabc"), "ab-c-abc");

    // Every link pointing at the last entry and beyond.
    for (std::size_t z = 0; z <= lv::kTrieLastEntry; ++z) {
        img[lv::kTrieOffset + 4 * z] = 0xFF;
        img[lv::kTrieOffset + 4 * z + 1] = 0xFF;
    }
    e.LoadImage(img);
    EXPECT_NO_THROW(e.HyphenateWord("abcabcabc"));
}

TEST(HyphenEngine, ShortAndRandomImagesNeverFault) {
    std::mt19937 rng(5);
    std::vector<std::string> words = {"liebe",
                                      "abcabcabcabc",
                                      "a-b-c",
                                      "xyz,",
                                      "\xE4\xF6\xFC\xDF",
                                      std::string(63, 'a'),
                                      "a\x7f"
                                      "b"};
    for (int round = 0; round < 200; ++round) {
        std::vector<std::uint8_t> img(round % 3 == 0 ? rng() % 2000 : 40000);
        for (auto& b : img)
            b = static_cast<std::uint8_t>(rng());
        THyphenEngine e;
        e.LoadImage(img);
        for (const auto& w : words) {
            const std::string out = e.HyphenateWord(w);
            // Only hyphens are ever added.
            std::string stripped;
            for (std::size_t i = 0, k = 0; i < out.size(); ++i) {
                if (k < w.size() && out[i] == w[k]) {
                    stripped += out[i];
                    ++k;
                } else {
                    EXPECT_EQ(out[i], '-');
                }
            }
            EXPECT_EQ(stripped, w);
        }
    }
}

TEST(HyphenEngine, ShortFileLoadsAsZeroPadded) {
    const std::string path = ::testing::TempDir() + "short.hyp";
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("tiny", f);
        std::fclose(f);
    }
    THyphenEngine e;
    EXPECT_NO_THROW(e.LoadFile(path));
    EXPECT_TRUE(e.Loaded());
    EXPECT_EQ(e.HyphenateWord("sonnenschein"), "sonnenschein");
    std::remove(path.c_str());
}

TEST(HyphenEngine, MissingFileRaisesTheInputOutputErrorInTheUsersLanguage) {
    THyphenEngine e;
    try {
        e.LoadFile("/nonexistent/Lang_ger.hyp", "Deutsch");
        FAIL();
    } catch (const lv::EInOutError& err) {
        EXPECT_NE(std::string(err.what()).find("kann nicht gelesen werden"), std::string::npos);
        EXPECT_NE(std::string(err.what()).find("/nonexistent/Lang_ger.hyp"), std::string::npos);
    }
    EXPECT_THROW(e.LoadFile("/nonexistent/x.hyp", "English"), lv::EInOutError);
    EXPECT_FALSE(e.Loaded());
}

} // namespace
