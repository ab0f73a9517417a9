// Editing the lyrics of real songs: the table as text and back keeps every
// tick, and the text saved from it loads back as the same text.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeDialogs.h"
#include "SmfBuilder.h"
#include "SongFixture.h"
#include "lyrics/TextEditing.h"
#include "lyrics/TextImport.h"
#include "model/OpenSong.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> CorpusSongs() {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(LV_CORPUS_DIR, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if (ext == ".mid" || ext == ".MID" || ext == ".kar") files.push_back(it->path().string());
    }
    return files;
}

TEST(CorpusEditing, StartThenFinishKeepsEveryTickAndTheTextSurvivesSaving) {
    const auto files = CorpusSongs();
    if (files.empty()) GTEST_SKIP() << "no corpus at " << LV_CORPUS_DIR;
    const std::string dir = lvtest::MakeTempDir("lv_corpus_edit");
    int withLyrics = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        lv::TSong song;
        lvtest::TFakeDialogs dialogs;
        dialogs.DefaultAnswer = true;
        song.Dialogs = &dialogs;
        try {
            lv::OpenSong(song, file);
        } catch (const std::exception&) {
            continue; // files the reader refuses are the reader's tests
        }
        // Two lines or fewer are song name and artist only: nothing to finish.
        if (lv::LyricTextLines(song).size() <= 2) continue;
        ++withLyrics;
        // Finish once so the table is one this editor made, then again.
        lv::TEditorText editor;
        lv::StartEditing(song, editor);
        ASSERT_TRUE(lv::FinishEditing(song, editor));
        const auto made = lvtest::SyllableRows(song);
        const std::vector<std::string> text = lv::LyricTextLines(song);

        lv::StartEditing(song, editor);
        ASSERT_TRUE(lv::FinishEditing(song, editor));
        EXPECT_EQ(lvtest::SyllableRows(song), made);

        const std::string path = dir + "/lyric.txt";
        ASSERT_TRUE(lv::SaveLyricTextFile(song, path));
        ASSERT_TRUE(lv::LoadLyricTextFile(song, editor, path, 1, nullptr, dir).Loaded);
        EXPECT_EQ(editor.Lines, text);
        ASSERT_TRUE(lv::FinishEditing(song, editor));
        EXPECT_EQ(lvtest::SyllableRows(song), made);
        EXPECT_EQ(lvtest::CheckTrackInvariants(song), "");
    }
    EXPECT_GT(withLyrics, 0) << "the corpus has no song with lyrics";
    fs::remove_all(dir);
}

} // namespace
