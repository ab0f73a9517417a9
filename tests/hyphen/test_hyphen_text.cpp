// The editor pass over lyric lines, the language dialog's data and "OK".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PatternFixture.h"
#include "lyrics/Hyphen.h"
#include "lyrics/HyphenDialog.h"

namespace {

using Lines = std::vector<std::string>;

TEST(HyphenText, WalksTheEditorLines) {
    lv::THyphenEngine e;
    e.LoadImage(lvtest::TPatternFixture({"e1b", "n1n"}).Image);
    Lines lines = {
        "Liebe Sonne  ",      // title: trailing blanks only
        "   ",                // performer: blank becomes empty
        "  Liebe   Sonne a ", // leading blanks and blank runs kept, the last one-letter word keeps
                              // its blank
        "_Takt 1 Liebe   ",   // bar lines only lose trailing blanks
        "_takt Liebe",        // other letter case is lyric
        "    ",               // blank lyric line becomes empty
        "",
        "Liebe-Sonne Lie-be", // existing hyphens
    };
    lv::HyphenateLines(e, lines);
    EXPECT_EQ(lines, (Lines{"Liebe Sonne", "", "  Lie-be   Son-ne a", "_Takt 1 Liebe",
                            "_takt Lie-be", "", "", "Lie-be-Son-ne Lie-be"}));
}

TEST(HyphenText, WithoutLoadedPatternsOnlyBlanksAreTrimmed) {
    lv::THyphenEngine none;
    Lines lines = {"a ", "b", "Liebe Sonne  "};
    lv::HyphenateLines(none, lines);
    EXPECT_EQ(lines, (Lines{"a", "b", "Liebe Sonne"}));
}

TEST(HyphenText, OverlongWordsDoNotStopThePass) {
    lv::THyphenEngine e;
    e.LoadImage(lvtest::TPatternFixture({"e1b"}).Image);
    const std::string longWord(300, 'x');
    Lines lines = {"t", "p", longWord + " Liebe", "Liebe"};
    lv::HyphenateLines(e, lines);
    EXPECT_EQ(lines[2], longWord + " Lie-be");
    EXPECT_EQ(lines[3], "Lie-be");
}

TEST(HyphenDialog, CaptionsAndOrderFollowTheLanguage) {
    const auto de = lv::HyphenationFormLayout("Deutsch");
    EXPECT_EQ(de.Caption, " Silbentrennung");
    EXPECT_EQ(de.GroupCaption, " Sprache ");
    EXPECT_EQ(de.CancelCaption, "Abbrechen");
    EXPECT_EQ(de.OkCaption, "OK");
    ASSERT_EQ(de.Buttons.size(), 5u);
    const std::vector<std::string> deNames = {"RB_German", "RB_English", "RB_French", "RB_Italien",
                                              "RB_Spanish"};
    const std::vector<std::string> deCaptions = {"Deutsch", "Englisch", "Französisch",
                                                 "Italienisch", "Spanisch"};
    const std::vector<std::string> files = {"Lang_ger.hyp", "Lang_eng.hyp", "Lang_fre.hyp",
                                            "Lang_ita.hyp", "Lang_spa.hyp"};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(de.Buttons[i].Name, deNames[i]);
        EXPECT_EQ(de.Buttons[i].Caption, deCaptions[i]);
        EXPECT_EQ(de.Buttons[i].PatternFile, files[i]);
    }
    EXPECT_EQ(de.Checked, lv::THyphenLanguage::German);

    const auto en = lv::HyphenationFormLayout("English");
    EXPECT_EQ(en.Caption, "Hyphenate");
    EXPECT_EQ(en.GroupCaption, "Language");
    EXPECT_EQ(en.CancelCaption, "Cancel");
    // English first, German second, the rest as designed.
    EXPECT_EQ(en.Buttons[0].Name, "RB_English");
    EXPECT_EQ(en.Buttons[0].Caption, "english");
    EXPECT_EQ(en.Buttons[1].Name, "RB_German");
    EXPECT_EQ(en.Buttons[1].Caption, "german");
    EXPECT_EQ(en.Buttons[1].PatternFile, "Lang_ger.hyp");
    EXPECT_EQ(en.Buttons[3].Caption, "italian");
    EXPECT_EQ(en.Checked, lv::THyphenLanguage::German);
}

TEST(HyphenDialog, OkWithAMissingFileLeavesTheTextAlone) {
    lv::SetPatternDirectory(::testing::TempDir() + "no-such-folder");
    Lines lines = {"Titel  ", "Sänger", "Sonnenschein  "};
    const Lines before = lines;
    EXPECT_THROW(lv::HyphenationOk(lv::THyphenLanguage::German, lines, "Deutsch"), lv::EInOutError);
    EXPECT_EQ(lines, before);
}

TEST(HyphenDialog, OkHyphenatesWithTheCheckedLanguageAndReleases) {
    lv::SetPatternDirectory(std::string(LV_SOURCE_DIR) + "/data/hyphen");
    Lines lines = {"Titel", "Interpret", "Sonnenschein und Liebe"};
    lv::HyphenationOk(lv::THyphenLanguage::German, lines);
    EXPECT_EQ(lines[2], "Son-nen-schein und Lie-be");
    // The image is gone after the run.
    EXPECT_EQ(lv::HyphenateWord("Sonnenschein"), "Sonnenschein");

    lines = {"Title", "Artist", "wonderful hyphenation"};
    lv::HyphenationOk(lv::THyphenLanguage::English, lines);
    EXPECT_EQ(lines[2], "won-der-ful hy-phen-ation");
}

TEST(HyphenDialog, LanguageCodesOfTheCommandLine) {
    lv::THyphenLanguage l;
    ASSERT_TRUE(lv::ParseHyphenLanguage("it", l));
    EXPECT_STREQ(lv::PatternFileName(l), "Lang_ita.hyp");
    EXPECT_FALSE(lv::ParseHyphenLanguage("DE", l));
    EXPECT_FALSE(lv::ParseHyphenLanguage("", l));
}

} // namespace
