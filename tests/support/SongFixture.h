#pragma once
// Songs built directly in memory, shaped as an opened song is: every track
// starts with its port head and ends with one end-of-track at SongEndTick, the
// lyrics and prompter tracks carry their names, and the tempo and time
// signature maps are completed with their tick-0 defaults and sentinels.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/Song.h"

namespace lvtest {

struct TTempoAt {
    std::int32_t Tick;
    std::int32_t Tempo; // microseconds per quarter
};

struct TSignAt {
    std::int32_t Tick;
    int Numerator;
    int Denominator; // note value: 4 quarter, 8 eighth
};

struct TSongSetup {
    std::uint16_t Division = 480;
    std::uint16_t TrackCount = 1;
    std::uint8_t Format = 1;
    std::int32_t SongEndTick = 7680;
    // Map entries in the order the reader met them; no entry at tick 0 means
    // the defaults (120 BPM, 4/4) stand first. Each entry also becomes a meta
    // event of track 0 when there is a file track.
    std::vector<TTempoAt> Tempos{};
    std::vector<TSignAt> TimeSigns{};
    // Build the time zones and event times right away (as opening does).
    bool BuildTimes = true;
};

lv::TSong MakeSong(const TSongSetup& setup = {});

// Inserts an event into a track in tick order (after events of equal tick,
// before the end-of-track) and counts it as the reader does. Returns it.
lv::TMidiEvent& AddEvent(lv::TSong& song, std::size_t track, lv::TMidiEvent event);
// Appends an event just before the end-of-track whatever its tick (the lyrics
// track gathers lyric events track by track, so ticks may fall back).
lv::TMidiEvent& AppendEvent(lv::TSong& song, std::size_t track, lv::TMidiEvent event);
// A lyric event (type 5) in the lyrics track.
lv::TMidiEvent& AddLyric(lv::TSong& song, std::int32_t tick, const std::string& text);
// A text event (type 1) in a file track.
lv::TMidiEvent& AddText(lv::TSong& song, std::size_t track, std::int32_t tick,
                        const std::string& text);
// A note-on and its note-off.
void AddNote(lv::TSong& song, std::size_t track, std::int32_t tick, std::int32_t length,
             int channel, int key, int velocity = 100);
// Moves SongEndTick and every end-of-track event (times are not recomputed).
void SetSongEnd(lv::TSong& song, std::int32_t tick);

// Fills the syllable table (ticks and texts; PosText from TickToPosText when the
// time zones exist).
void SetSyllables(lv::TSong& song, const std::vector<std::pair<std::int32_t, std::string>>& rows);
// The table as (tick, text) rows, entries 0 .. SyllableCount - 1.
std::vector<std::pair<std::int32_t, std::string>> SyllableRows(const lv::TSong& song);
// The meta events of one type in a track, as (tick, data) rows in list order.
std::vector<std::pair<std::int32_t, std::string>> MetaRows(const lv::TSong& song, std::size_t track,
                                                           int metaType);

// Checks the list invariants of every track (head, names, one end-of-track at
// SongEndTick, EventCount) and returns a description of the first breach, or
// an empty string.
std::string CheckTrackInvariants(lv::TSong& song);

// A player stand-in that remembers where it was told to go.
class TFakePlayer : public lv::TPlayerLink {
  public:
    std::int32_t PositionMs() const override { return Position; }
    void Locate(std::int32_t ms) override { Locates.push_back(ms); }
    std::int32_t Position = 0;
    std::vector<std::int32_t> Locates;
};

} // namespace lvtest
