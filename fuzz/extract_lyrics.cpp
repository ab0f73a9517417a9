// Lyric extraction, the lyric rebuild, the view text and the highlight on
// lyric or text events cut from arbitrary bytes: no crash, no hang, and after
// the normalisation the table and the rebuilt lyric events are in tick order.
//
// Layout of the input: byte 0 holds switches (bit 0 copyright line, bit 1
// chord-helper removal, bit 2 the events go to the text track as text events,
// bit 3 mixed lyric and text events, bit 4 prompter support), bytes 1-2 the
// Division. Then events: one byte tick step (times 8), one byte length, then
// that many data bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>

#include "FuzzSong.h"
#include "lyrics/TextView.h"
#include "model/Errors.h"
#include "model/Extract.h"
#include "model/Song.h"
#include "model/TimeMap.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void AddEvent(lv::TTrack& track, lv::TMidiEvent e, bool counted) {
    track.Events.insert(std::prev(track.Events.end()), std::move(e));
    if (counted) ++track.EventCount;
}

// The tracks as the reader leaves them: port head, names of the lyrics and
// prompter tracks, end-of-track at SongEndTick; the maps with their defaults.
lv::TSong MakeSong(std::uint16_t division) {
    lv::TSong song = lvfuzz::MakeTrackSong(division, 0);
    const lv::TTempo tempo = lvfuzz::MakeTempo(0, 500000);
    song.Tempos = {tempo, tempo};
    song.TempoCount = 2;
    lv::TTimeSign sign;
    sign.Tick = 0;
    song.TimeSigns = {sign, sign};
    song.TimeSignCount = 2;
    return song;
}

void CheckInTickOrder(const lv::TSong& song) {
    for (std::int32_t i = 1; i < song.SyllableCount; ++i)
        Check(song.Syllables[static_cast<std::size_t>(i)].Tick >
              song.Syllables[static_cast<std::size_t>(i - 1)].Tick);
}

void CheckLyricsTrack(lv::TSong& song) {
    auto& events = song.LyricsTrack().Events;
    Check(events.size() >= 3);
    Check(events.front().IsMeta(33));
    Check(events.back().IsMeta(47) && events.back().Tick == song.SongEndTick);
    std::int32_t previous = 0;
    std::int32_t counted = 0;
    for (const auto& e : events) {
        if (e.IsMeta(5) || e.IsMeta(33) || e.IsMeta(47)) ++counted;
        if (!e.IsMeta(5)) continue;
        Check(!e.Data.empty());
        Check(e.Tick >= previous);
        Check(e.Tick < song.SongEndTick || song.SongEndTick == 0);
        previous = e.Tick;
    }
    Check(counted == song.LyricsTrack().EventCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t switches = data[0];
    const auto division = static_cast<std::uint16_t>((data[1] << 8) | data[2]);
    lv::TSong song = MakeSong(division == 0 ? 1 : division);
    song.SongLoaded = true;
    song.Config.CopyrightString = (switches & 1) ? "(c) Lyrivox" : "";
    song.Config.XF_DeleteChordHelper = (switches & 2) != 0;
    song.Config.SufflorEnabled = (switches & 16) != 0;

    std::size_t pos = 3;
    std::int32_t tick = 0;
    bool flip = false;
    while (pos + 2 <= size) {
        tick += data[pos] * 8;
        const std::size_t length = data[pos + 1];
        pos += 2;
        std::string text(reinterpret_cast<const char*>(data + pos), std::min(length, size - pos));
        pos += text.size();
        if (text.empty()) continue;
        flip = !flip;
        const bool asText = (switches & 8) ? flip : (switches & 4) != 0;
        if (asText)
            AddEvent(song.Tracks[0], lv::MakeMetaEvent(1, std::move(text), tick), false);
        else
            AddEvent(song.LyricsTrack(), lv::MakeMetaEvent(5, std::move(text), tick), true);
    }
    song.SongEndTick = tick;
    for (auto& t : song.Tracks)
        t.Events.back().Tick = tick;

    try {
        lv::BuildTimeZones(song);
        lv::ComputeEventTimes(song);
        lv::ExtractLyrics(song);
    } catch (const lv::ERangeError&) {
        return 0;
    }
    CheckInTickOrder(song);
    Check(song.SyllableCount == 0 || song.SyllableCount >= 5);
    for (std::int32_t i = 0; i < song.SyllableCount; ++i) {
        auto& h = song.Syllables[static_cast<std::size_t>(i)];
        try {
            h.PosText = lv::TickToPosText(song, h.Tick);
        } catch (const lv::ERangeError&) {
        }
    }

    const std::string view = lv::FillTextView(song);
    Check(view == lv::BuildViewText(song));
    for (std::int32_t i = -1; i <= song.SyllableCount; ++i) {
        const lv::THighlight h = lv::HighlightSyllable(song, i, view);
        Check(h.Apply == (i >= 0 && i < song.SyllableCount));
        if (!h.Apply) continue;
        const auto end = static_cast<std::int32_t>(view.size());
        Check(0 <= h.SelStart && h.SelStart <= h.SelEnd && h.SelEnd <= end);
        Check(h.SelEnd <= h.ScrollCaret && h.ScrollCaret <= end);
        // A view text that no longer matches the table is no failure either.
        lv::HighlightSyllable(song, i, view.substr(0, view.size() / 2));
    }

    lv::RebuildLyricEvents(song);
    if (song.SyllableCount > 0) CheckLyricsTrack(song);
    return 0;
}
