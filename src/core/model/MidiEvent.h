#pragma once
// One event of a track list and the list types built from it.
#include <cstdint>
#include <iterator>
#include <list>
#include <string>
#include <vector>

namespace lv {

using AByte = std::vector<std::uint8_t>;

struct TMidiEvent {
    std::uint8_t Status = 0;  // 0x80..0xEF channel message, 0xF0/0xF7 sysex, 0xFF meta
    std::int32_t Length = 0;  // 3 or 2 for channel messages; size of Data otherwise
    std::uint8_t Kind = 0;    // 1 = short message, 2 = long message (sysex or meta)
    std::uint8_t Flag = 0;    // 1 on hidden melody notes and inserted copyright lyrics
    std::string Data;         // payload of sysex (without leading F0) and meta events
    std::int16_t MetaType = -1;
    std::int32_t Tick = 0;
    std::int32_t TimeMs = 0;
    std::uint8_t Data1 = 0;
    std::uint8_t Data2 = 0;
    std::uint8_t OrigData1 = 0;
    std::uint8_t OrigData2 = 0;

    bool IsMeta() const { return Kind == 2 && Status == 0xFF; }
    bool IsMeta(int type) const { return IsMeta() && MetaType == type; }
    bool IsChannel() const { return Kind == 1; }
    std::uint8_t Channel() const { return Status & 0x0F; }
    std::uint8_t Command() const { return Status & 0xF0; }
};

// A track's events in list order. std::list keeps positions stable for the
// play cursors and gives O(1) insert/unlink at a known place.
using TEventList = std::list<TMidiEvent>;
using TEventIt = TEventList::iterator;

// Builders for the event shapes the program makes itself.
TMidiEvent MakeMetaEvent(int metaType, std::string data, std::int32_t tick);
TMidiEvent MakeShortEvent(std::uint8_t status, std::uint8_t data1, std::uint8_t data2,
                          std::int32_t tick);
// The head every list starts with: MIDI port meta event (type 33) holding one byte 0.
TMidiEvent MakePortHead();
// The end-of-track meta event (type 47, no data).
TMidiEvent MakeEndOfTrack(std::int32_t tick);

struct TTrack {
    std::int32_t EventCount = 0;  // counted events only (head, channel, sysex, lyrics, ...)
    TEventList Events;            // Events.front() is the head while a song is loaded
    TEventIt PlayCursor;          // next event the player sends

    bool HasHead() const { return !Events.empty(); }
    TEventIt Head() { return Events.begin(); }
    // The last event (end-of-track while a song is loaded).
    TEventIt Last() { return std::prev(Events.end()); }
};

using ATrack = std::vector<TTrack>;

} // namespace lv
