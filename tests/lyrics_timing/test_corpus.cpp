// The timing commands on the real songs of the corpus.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "TimingFixture.h"
#include "lyrics/Linking.h"
#include "lyrics/MtcEditing.h"
#include "model/OpenSong.h"

using namespace lvtest;
namespace fs = std::filesystem;

namespace {

// Every corpus song that opens and has lyrics.
std::vector<std::string> SongsWithLyrics() {
    std::vector<std::string> paths;
    for (const auto& e : fs::recursive_directory_iterator(LV_CORPUS_DIR)) {
        if (!e.is_regular_file() || e.path().extension() != ".mid") continue;
        lv::TSong song;
        try {
            lv::OpenSong(song, e.path().string());
        } catch (const std::exception&) {
            continue;
        }
        if (song.SyllableCount > 4) paths.push_back(e.path().string());
    }
    return paths;
}

// Opens a song with the first melody channel that has notes.
void OpenWithMelody(lv::TSong& song, const std::string& path) {
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        song = lv::TSong{};
        song.Config.MelodyTrack = channel;
        lv::OpenSong(song, path);
        if (song.MelodyNotes.size() > 2) return;
    }
}

} // namespace

TEST(Corpus, MtcEditingKeepsEveryTickAndText) {
    const auto paths = SongsWithLyrics();
    ASSERT_FALSE(paths.empty());
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        lv::TSong song;
        lv::OpenSong(song, path);
        const TRows before = SyllableRows(song);
        lv::TEditorText editor;
        lv::StartMtcEditing(song, editor);
        ASSERT_EQ(lv::FinishMtcEditing(song, editor).Status, lv::TMtcFinishStatus::Done);
        EXPECT_EQ(SyllableRows(song), before);
        EXPECT_EQ(CheckTrackInvariants(song), "");
    }
}

TEST(Corpus, LinkedSyllablesSitOnMelodyNotes) {
    for (const auto& path : SongsWithLyrics()) {
        SCOPED_TRACE(path);
        lv::TSong song;
        OpenWithMelody(song, path);
        std::set<std::int32_t> onsets;
        for (const auto& n : song.MelodyNotes)
            if ((n.Status & 0xF0) == 0x90 && n.Data2 > 0) onsets.insert(n.Tick);
        lv::LinkSyllables(song);
        EXPECT_TRUE(InTickOrder(SyllableRows(song)));
        EXPECT_TRUE(InTickOrder(MetaRows(song, song.LyricsTrackIndex(), 5)));
        EXPECT_EQ(CheckTrackInvariants(song), "");
        // Sung syllables take note starts until the melody runs out.
        std::int32_t linked = 0;
        for (std::int32_t i = 4; i < song.SyllableCount; ++i) {
            const auto c = lv::ClassifySyllable(song.Syllables[i].Text);
            if (c == lv::TSyllableClass::Sung && onsets.count(song.Syllables[i].Tick)) ++linked;
        }
        EXPECT_GT(linked, 0);
    }
}
