// Finishing plain editing on arbitrary editor text: no crash, no hang, the
// table and the lyric events in tick order, and editing the result again
// keeps every tick. The first two bytes choose the song end and the old
// table; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSong.h"
#include "lyrics/EditorText.h"
#include "lyrics/TextEditing.h"

namespace {

lv::TSong MakeFuzzSong(std::int32_t songEnd, int oldEntries) {
    lv::TSong song = lvfuzz::MakeTrackSong(480, songEnd);
    lvfuzz::SetMaps(song, {lvfuzz::MakeTempo(0, 500000)});
    lv::ComputeEventTimes(song);
    // An old table of the usual shape: title, artist, then lines of syllables.
    static const char* const kTexts[] = {"T", "\r", "A", "\r", "la ", "di", "\r", "da"};
    for (int i = 0; i < oldEntries; ++i) {
        lv::THyphens h;
        h.Tick = 108 + 120 * i;
        h.SavedTick = h.Tick;
        h.Text = kTexts[i % 8];
        h.PosText = lv::TickToPosText(song, h.Tick);
        song.Syllables.push_back(h);
    }
    song.SyllableCount = oldEntries;
    return song;
}

void CheckOrder(lv::TSong& song) {
    for (std::int32_t i = 1; i < song.SyllableCount; ++i)
        if (song.Syllables[std::size_t(i)].Tick < song.Syllables[std::size_t(i) - 1].Tick)
            std::abort();
    std::int32_t previous = 0;
    for (const auto& e : song.LyricsTrack().Events) {
        if (e.Tick < previous) std::abort();
        previous = e.Tick;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 20000) return 0;
    static const std::int32_t kEnds[] = {0, 30, 1000, 20000};
    lv::TSong song = MakeFuzzSong(kEnds[data[0] % 4], data[1] % 40);
    song.SelectedSyllable = data[0] / 4 % 20;
    song.RulesQuestionPending = (data[1] & 0x80) != 0; // answered No: nothing may change

    lv::TEditorText editor;
    editor.SetText(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
    const std::int32_t oldCount = song.SyllableCount;
    if (!lv::FinishEditing(song, editor)) {
        if (song.SyllableCount != oldCount) std::abort();
        return 0;
    }
    CheckOrder(song);

    // The table as text and back: every entry keeps its tick. A table without
    // a song name is left out: its blank first line is taken for a blank line
    // before the text, so the artist moves up into the song name.
    if (song.SyllableCount == 0 || song.Syllables[0].Text == "\r") return 0;
    std::vector<std::int32_t> ticks;
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        ticks.push_back(song.Syllables[std::size_t(i)].Tick);
    lv::StartEditing(song, editor);
    if (lv::FinishEditing(song, editor) && std::int32_t(ticks.size()) == song.SyllableCount)
        for (std::int32_t i = 0; i < song.SyllableCount; ++i)
            if (song.Syllables[std::size_t(i)].Tick != ticks[std::size_t(i)]) std::abort();
    CheckOrder(song);
    return 0;
}
