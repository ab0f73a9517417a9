// Finishing MTC editing on arbitrary editor text: no crash, no hang, and when
// the text is taken the table and the lyric events are in tick order.
// The first four bytes choose Division and the time signature, the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSong.h"
#include "lyrics/EditorText.h"
#include "lyrics/MtcEditing.h"

namespace {

lv::TSong MakeFuzzSong(std::uint16_t division, std::uint8_t numerator, std::uint8_t denomExp) {
    lv::TSong song = lvfuzz::MakeTrackSong(division, 20000);
    // 120 per minute and the chosen signature from tick 0, a tempo change at 3000.
    lv::TTimeSign sign;
    sign.Numerator = numerator;
    sign.Denominator = static_cast<std::uint8_t>(1u << denomExp);
    lvfuzz::SetMaps(song, {lvfuzz::MakeTempo(0, 500000), lvfuzz::MakeTempo(3000, 750000)}, sign);
    lv::ComputeEventTimes(song);
    // An old table the finishing compares saved ticks with.
    for (int i = 0; i < 8; ++i) {
        lv::THyphens h;
        h.Tick = 108 + 200 * i;
        h.SavedTick = h.Tick - 1;
        h.Text = (i % 3 == 1) ? "\r" : "la ";
        h.PosText = lv::TickToPosText(song, h.Tick);
        song.Syllables.push_back(h);
    }
    song.SyllableCount = 8;
    return song;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static const std::uint16_t kDivisions[] = {1, 3, 24, 96, 120, 480, 960, 1920, 9999, 15360};
    const std::uint16_t division = kDivisions[data[0] % 10];
    const auto numerator = static_cast<std::uint8_t>(1 + data[1] % 12);
    const auto denomExp = static_cast<std::uint8_t>(data[2] % 4);
    lv::TSong song;
    try {
        song = MakeFuzzSong(division, numerator, denomExp);
    } catch (const std::exception&) {
        return 0; // a time map the song could not have
    }
    song.SelectedSyllable = data[3] % 10;

    lv::TEditorText editor;
    editor.SetText(std::string(reinterpret_cast<const char*>(data + 4), size - 4));
    const auto result = lv::FinishMtcEditing(song, editor);
    if (result.Status != lv::TMtcFinishStatus::Done) {
        if (song.SyllableCount != 8) std::abort(); // a refused text changes no entry
        return 0;
    }
    for (std::int32_t i = 1; i < song.SyllableCount; ++i)
        if (song.Syllables[i].Tick < song.Syllables[i - 1].Tick) std::abort();
    std::int32_t previous = 0;
    for (const auto& e : song.LyricsTrack().Events) {
        if (e.Tick < previous) std::abort();
        previous = e.Tick;
    }
    // Editing again starts from what was taken.
    lv::TEditorText again;
    lv::StartMtcEditing(song, again);
    return 0;
}
