// Loading a lyric text (plain, RTF, through a converter) and saving it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeDialogs.h"
#include "SmfBuilder.h"
#include "SongFixture.h"
#include "lyrics/TextEditing.h"
#include "lyrics/TextImport.h"

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

void WriteText(const std::string& path, const std::string& text) {
    lvtest::WriteFileBytes(path, lv::AByte(text.begin(), text.end()));
}

// A converter that writes a fixed RTF document, or fails.
class TFakeConverter : public lv::TOfficeConverter {
  public:
    std::vector<lv::TConverterFilter> ImportFilters() const override {
        return {{"Word Document", "*.docx"}, {"Other", "*.xyz"}};
    }
    bool ImportToRtf(int number, const std::string& source, const std::string& target) override {
        Calls.push_back({number, source, target});
        if (!Succeed) return false;
        WriteText(target, Rtf);
        return true;
    }
    struct TCall {
        int Number;
        std::string Source, Target;
    };
    std::vector<TCall> Calls;
    bool Succeed = true;
    std::string Rtf = "{\\rtf1 Song\\par Artist\\par la-la\\par}";
};

struct TImportFixture : ::testing::Test {
    void SetUp() override {
        dir = lvtest::MakeTempDir("lv_textimport");
        song = lvtest::MakeSong();
        song.Dialogs = &dialogs;
        editor.Lines = {"typed", "text", "kept"};
    }
    lv::TTextLoadResult Load(const std::string& name, const std::string& contents, int filter,
                             lv::TOfficeConverter* conv = nullptr) {
        const std::string path = dir + "/" + name;
        WriteText(path, contents);
        return lv::LoadLyricTextFile(song, editor, path, filter, conv, dir);
    }
    std::string dir;
    lv::TSong song;
    lvtest::TFakeDialogs dialogs;
    lv::TEditorText editor;
};

TEST_F(TImportFixture, PlainTextIsCleanedAndStartsEditing) {
    const auto r =
        Load("a.txt", "\r\n  \r\nSong\r\n\r\n\r\nla\tdi\r\n\r\n\r\n\r\nit\x92s\r\n\tx\r\n\r\n", 1);
    ASSERT_TRUE(r.Loaded);
    // Leading blanks go, the blank artist line stays, the blank after it goes,
    // three blank lines become one, tabs fill up to 8 columns.
    EXPECT_EQ(editor.Lines, (Texts{"Song", "", "la      di", "", "it's", "        x"}));
    EXPECT_TRUE(song.EditMode);
    EXPECT_TRUE(song.RulesQuestionPending);
    EXPECT_FALSE(editor.ReadOnly);
    EXPECT_EQ(editor.SelStart, 0);
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_EQ(song.SyllableCount, 0); // nothing in the song changes before finishing
    EXPECT_TRUE(r.LastTextPathChanged);
    EXPECT_EQ(song.Config.LastTextPath, dir);
    EXPECT_FALSE(Load("b.txt", "x", 1).LastTextPathChanged); // same folder again
}

TEST_F(TImportFixture, TabAtColumnEightIsOneBlank) {
    ASSERT_TRUE(Load("a.txt", "abcdefg\tx\nA\nl", 1).Loaded);
    EXPECT_EQ(editor.Lines[0], "abcdefg x");
}

TEST_F(TImportFixture, Utf8TextBecomesCodePageBytes) {
    ASSERT_TRUE(Load("a.txt",
                     "\xEF\xBB\xBFM\xC3\xA4"
                     "dchen\nA\nit\xE2\x80\x99s \xE2\x82\xAC \xE4\xB8\x80",
                     1)
                    .Loaded);
    EXPECT_EQ(editor.Lines, (Texts{"M\xE4"
                                   "dchen",
                                   "A", "it's \x80 ?"}));
}

TEST_F(TImportFixture, SingleByteTextStaysAsItIs) {
    ASSERT_TRUE(Load("a.txt",
                     "M\xE4"
                     "dchen\nA\nx",
                     1)
                    .Loaded);
    EXPECT_EQ(editor.Lines[0], "M\xE4"
                               "dchen");
}

struct TEmptyCase {
    const char* Contents;
    int Filter;
};

TEST_F(TImportFixture, EmptyFilesGiveTheEmptyMessageAndKeepTheEditor) {
    for (const TEmptyCase& c : {TEmptyCase{"", 1}, TEmptyCase{"  \r\n\r\n \n", 1},
                                TEmptyCase{"{\\rtf1{\\fonttbl x}\\par\\par}", 2}}) {
        dialogs.Log.clear();
        const std::string path = dir + "/empty.txt";
        EXPECT_FALSE(Load("empty.txt", c.Contents, c.Filter).Loaded) << c.Contents;
        ASSERT_EQ(dialogs.Log.size(), 1u);
        EXPECT_EQ(dialogs.Log[0].Text, "The file \"" + path + "\"\ris empty - converting aborted!");
        EXPECT_EQ(dialogs.Log[0].Caption, "Lyrivox");
        EXPECT_EQ(editor.Lines, (Texts{"typed", "text", "kept"}));
        EXPECT_FALSE(song.EditMode);
    }
}

TEST_F(TImportFixture, MissingFileIsReportedAndLosesNothing) {
    song.Language = "Deutsch";
    const auto r = lv::LoadLyricTextFile(song, editor, dir + "/nope.txt", 1, nullptr, dir);
    EXPECT_FALSE(r.Loaded);
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_EQ(dialogs.Log[0].Text.substr(0, 10), "Die Datei ");
    EXPECT_EQ(editor.Lines, (Texts{"typed", "text", "kept"}));
    // A folder is no text file either.
    EXPECT_FALSE(lv::LoadLyricTextFile(song, editor, dir, 1, nullptr, dir).Loaded);
}

TEST_F(TImportFixture, RtfKeepsItsPlainText) {
    ASSERT_TRUE(Load("a.rtf",
                     "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Song\\par Artist\\par "
                     "Hel-lo w\\'f6rld\\tab x\\par it\\rquote s\\par}",
                     2)
                    .Loaded);
    EXPECT_EQ(editor.Lines, (Texts{"Song", "Artist", "Hel-lo w\xF6rld    x", "it's"}));
}

TEST_F(TImportFixture, PlainTextChosenAsRtfIsReadAsText) {
    ASSERT_TRUE(Load("a.rtf", "Song\nArtist\n{la}", 2).Loaded);
    EXPECT_EQ(editor.Lines, (Texts{"Song", "Artist", "{la}"}));
}

TEST_F(TImportFixture, ConverterNumberIsFilterIndexMinusThreeAndTheTempFileGoes) {
    TFakeConverter conv;
    EXPECT_EQ(lv::TextLoadFilter("Deutsch", conv.ImportFilters()),
              "Text-Dokument|*.txt|RTF-Dokument|*.rtf|Word Document|*.docx|Other|*.xyz");
    ASSERT_TRUE(Load("a.xyz", "binary stuff", 4, &conv).Loaded);
    ASSERT_EQ(conv.Calls.size(), 1u);
    EXPECT_EQ(conv.Calls[0].Number, 1);
    EXPECT_EQ(conv.Calls[0].Source, dir + "/a.xyz");
    EXPECT_EQ(conv.Calls[0].Target, dir + "/Text.rtf");
    EXPECT_FALSE(fs::exists(dir + "/Text.rtf"));
    EXPECT_EQ(editor.Lines, (Texts{"Song", "Artist", "la-la"}));
}

TEST_F(TImportFixture, FailedConversionShowsErrorThenWrongType) {
    TFakeConverter conv;
    conv.Succeed = false;
    WriteText(dir + "/Text.rtf", "{\\rtf1 stale}"); // left over from an earlier run
    EXPECT_FALSE(Load("a.docx", "x", 3, &conv).Loaded);
    ASSERT_EQ(dialogs.Log.size(), 2u);
    EXPECT_EQ(dialogs.Log[0].Text, "Error");
    EXPECT_EQ(dialogs.Log[0].Caption, "Error");
    EXPECT_EQ(dialogs.Log[1].Text, "The file \"" + dir +
                                       "/a.docx\"\rdoesn't correspond to chosen file type - "
                                       "procedure aborted.");
    EXPECT_FALSE(fs::exists(dir + "/Text.rtf"));
    EXPECT_EQ(editor.Lines, (Texts{"typed", "text", "kept"}));
}

TEST_F(TImportFixture, ConverterResultThatIsNoRtfIsTheWrongType) {
    TFakeConverter conv;
    conv.Rtf = "not rtf";
    EXPECT_FALSE(Load("a.docx", "x", 3, &conv).Loaded);
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_NE(dialogs.Log[0].Text.find("doesn't correspond"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/Text.rtf"));
}

TEST_F(TImportFixture, SavedTextLoadsBackUnchangedAndFinishesToTheSameTable) {
    lvtest::SetSyllables(song, {{108, "Song"},
                                {112, "\r"},
                                {952, "The Artist"},
                                {956, "\r"},
                                {960, "---- "},
                                {1000, "Hel"},
                                {1100, "lo "},
                                {1200, "two words "},
                                {1300, "x-y"},
                                {1304, "\r"},
                                {1310, "\r"},
                                {1400, "M\xE4"},
                                {1500, "-dchen"}});
    const auto before = lvtest::SyllableRows(song);
    const std::string path = dir + "/lyric.txt";
    ASSERT_TRUE(lv::SaveLyricTextFile(song, path));
    const lv::AByte bytes = lvtest::ReadFileBytes(path);
    const std::string saved(bytes.begin(), bytes.end());
    EXPECT_EQ(saved, "Song\r\nThe_Artist\r\n==== Hel-lo two_words x=y\r\n\r\nM\xE4-=dchen\r\n");

    ASSERT_TRUE(lv::LoadLyricTextFile(song, editor, path, 1, nullptr, dir).Loaded);
    EXPECT_EQ(editor.Text() + "\r\n", saved);
    dialogs.DefaultAnswer = true;
    ASSERT_TRUE(lv::FinishEditing(song, editor));
    EXPECT_EQ(lvtest::SyllableRows(song), before);
}

TEST_F(TImportFixture, FailedSaveKeepsTheOldFile) {
    lvtest::SetSyllables(song, {{108, "S"}, {112, "\r"}, {116, "A"}, {120, "\r"}, {960, "la"}});
    const std::string path = dir + "/missing_folder/lyric.txt";
    EXPECT_FALSE(lv::SaveLyricTextFile(song, path));
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_NE(dialogs.Log[0].Text.find("cannot be saved"), std::string::npos);
    EXPECT_FALSE(fs::exists(path));
}

} // namespace
