// Office documents made by the converters themselves, then loaded as lyrics
// through the converters the program finds at run time.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>
#include <string>
#include <vector>

#include "FakeDialogs.h"
#include "SmfBuilder.h"
#include "SongFixture.h"
#include "lyrics/TextEditing.h"
#include "lyrics/TextImport.h"
#include "platform/Converter.h"

namespace {

using Texts = std::vector<std::string>;

// The lyric as typed in a word processor (UTF-8, one paragraph per line).
const char* const kLyricMarkdown =
    "My Song\n\nThe Artist\n\nHel-lo w\xC3\xB6rld\n\nit\xE2\x80\x99s me\n";
const Texts kLyricLines = {"My Song", "The Artist", "Hel-lo w\xF6rld", "it's me"};

// Makes a document of the given pandoc output format from the lyric.
bool MakeDocument(const std::string& dir, const std::string& format, std::string& path) {
    const std::string md = dir + "/lyric.md";
    lvtest::WriteFileBytes(md,
                           lv::AByte(kLyricMarkdown, kLyricMarkdown + std::strlen(kLyricMarkdown)));
    path = dir + "/lyric." + format;
    return QProcess::execute("pandoc",
                             {"-f", "markdown", "-t", QString::fromStdString(format), "-o",
                              QString::fromStdString(path), QString::fromStdString(md)}) == 0;
}

// The converter number of the first entry of a program that reads the pattern.
int FindConverter(const lv::TOfficeConverter& conv, const std::string& program,
                  const std::string& pattern) {
    const auto filters = conv.ImportFilters();
    for (std::size_t i = 0; i < filters.size(); ++i)
        if (filters[i].Description.find("(" + program + ")") != std::string::npos &&
            filters[i].Patterns.find(pattern) != std::string::npos)
            return int(i);
    return -1;
}

struct TOfficeFixture : ::testing::Test {
    void SetUp() override {
        if (QStandardPaths::findExecutable("pandoc").isEmpty())
            GTEST_SKIP() << "pandoc is not installed (Debian package pandoc)";
        dir = lvtest::MakeTempDir("lv_office");
        song = lvtest::MakeSong();
        song.Dialogs = &dialogs;
        dialogs.DefaultAnswer = true;
    }
    // Loads the document with the chosen converter and finishes editing.
    void LoadAndFinish(lv::TOfficeConverter& conv, int number, const std::string& path) {
        const auto r = lv::LoadLyricTextFile(song, editor, path, number + 3, &conv, dir);
        ASSERT_TRUE(r.Loaded) << (dialogs.Log.empty() ? "" : dialogs.Log[0].Text);
        EXPECT_EQ(editor.Lines, kLyricLines);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(dir + "/Text.rtf")));
        ASSERT_TRUE(lv::FinishEditing(song, editor));
        const auto rows = lvtest::SyllableRows(song);
        ASSERT_EQ(rows.size(), 10u);
        EXPECT_EQ(rows[4].second, "Hel");
        EXPECT_EQ(rows[5].second, "lo ");
        EXPECT_EQ(rows[6].second, "w\xF6rld");
        EXPECT_EQ(rows[8].second, "it's ");
    }
    std::string dir;
    lv::TSong song;
    lvtest::TFakeDialogs dialogs;
    lv::TEditorText editor;
};

TEST_F(TOfficeFixture, WordDocumentThroughPandoc) {
    lv::platform::TSystemOfficeConverter conv;
    const int number = FindConverter(conv, "pandoc", "*.docx");
    ASSERT_GE(number, 0);
    std::string docx;
    ASSERT_TRUE(MakeDocument(dir, "docx", docx));
    LoadAndFinish(conv, number, docx);
}

TEST_F(TOfficeFixture, OpenDocumentThroughLibreOffice) {
    // A fresh profile of our own: the run does not depend on the user's.
    lv::platform::TSystemOfficeConverter conv("Englisch", dir + "/profile");
    if (!conv.HasLibreOffice())
        GTEST_SKIP() << "LibreOffice is not installed (Debian package libreoffice-writer-nogui)";
    const int number = FindConverter(conv, "LibreOffice", "*.odt");
    ASSERT_GE(number, 0);
    std::string odt;
    ASSERT_TRUE(MakeDocument(dir, "odt", odt));
    LoadAndFinish(conv, number, odt);
}

TEST_F(TOfficeFixture, DocumentTheConverterCannotReadIsTheWrongType) {
    lv::platform::TSystemOfficeConverter conv;
    const int number = FindConverter(conv, "pandoc", "*.docx");
    ASSERT_GE(number, 0);
    const std::string path = dir + "/broken.docx";
    lvtest::WriteFileBytes(path, {'P', 'K', 3, 4, 0, 0});
    editor.Lines = {"typed", "text", "kept"};
    EXPECT_FALSE(lv::LoadLyricTextFile(song, editor, path, number + 3, &conv, dir).Loaded);
    ASSERT_EQ(dialogs.Log.size(), 2u);
    EXPECT_EQ(dialogs.Log[0].Text, "Error");
    EXPECT_NE(dialogs.Log[1].Text.find("doesn't correspond to chosen file type"),
              std::string::npos);
    EXPECT_EQ(editor.Lines, (Texts{"typed", "text", "kept"}));
}

TEST(OfficeConverterList, LoadFilterListsTheInstalledConverters) {
    lv::platform::TSystemOfficeConverter conv("Deutsch");
    const std::string filter = lv::TextLoadFilter("Deutsch", conv.ImportFilters());
    EXPECT_EQ(filter.rfind("Text-Dokument|*.txt|RTF-Dokument|*.rtf|", 0), 0u);
    EXPECT_EQ(filter.find("Word-Dokument (pandoc)|*.docx") != std::string::npos, conv.HasPandoc());
    EXPECT_EQ(filter.find("(LibreOffice)") != std::string::npos, conv.HasLibreOffice());
    // A number beyond the list converts nothing.
    EXPECT_FALSE(conv.ImportToRtf(int(conv.ImportFilters().size()), "/x.docx", "/tmp/y.rtf"));
}

} // namespace
