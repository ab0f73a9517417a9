#include "lyrics/Linking.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "lyrics/TextView.h"
#include "model/TimeMap.h"

namespace lv {

TSyllableClass ClassifySyllable(const std::string& text) {
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find("_takt") != std::string::npos) return TSyllableClass::BarMarker;
    if (text == "\r") return TSyllableClass::LineBreak;
    if (!text.empty() && text[0] == '-') return TSyllableClass::Attached;
    return TSyllableClass::Sung;
}

void LinkSyllables(TSong& song) {
    const std::int32_t count = std::min<std::int32_t>(
        song.SyllableCount, static_cast<std::int32_t>(song.Syllables.size()));
    AHyphens& s = song.Syllables;
    auto cls = [&](std::int32_t i) { return ClassifySyllable(s[i].Text); };

    // 1. Header: 108, then +4 per entry and another +4 after every line break,
    //    up to the first entry after two line breaks or up to a bar marker.
    std::int32_t body = count;
    std::int32_t breaks = 0;
    for (std::int32_t j = 0; j < count; ++j) {
        s[j].Tick = 108 + 4 * j + 4 * breaks;
        if (cls(j) == TSyllableClass::LineBreak) ++breaks;
        if (j + 1 < count && ((breaks >= 2 && cls(j + 1) != TSyllableClass::LineBreak) ||
                              cls(j + 1) == TSyllableClass::BarMarker)) {
            body = j + 1;
            break;
        }
    }

    // 2. Body: sung syllables walk the melody forwards, never back.
    TEventList& notes = song.MelodyNotes;
    const bool haveNotes = !notes.empty();
    auto cursor = notes.begin();
    const auto last = haveNotes ? std::prev(notes.end()) : notes.end();
    std::int32_t lastLinked = 0;
    for (std::int32_t k = body; k < count; ++k) {
        switch (cls(k)) {
        case TSyllableClass::BarMarker:
            break;
        case TSyllableClass::LineBreak:
        case TSyllableClass::Attached:
            s[k].Tick = s[k - 1].Tick + 4;
            break;
        case TSyllableClass::Sung:
            if (haveNotes && cursor != last) {
                do {
                    ++cursor;
                } while (cursor != last && !(cursor->Flag == 0 && (cursor->Status & 0xF0) == 0x90 &&
                                             cursor->Data2 != 0 && cursor->Tick > lastLinked));
            }
            if (haveNotes && cursor != last) {
                s[k].Tick = cursor->Tick;
                lastLinked = cursor->Tick;
            } else {
                s[k].Tick = song.SongEndTick - 4 * (count - k + 1); // melody exhausted
            }
            break;
        }
    }

    // 3. Bar markers and up to three line breaks after them go just before
    //    the next entry, 4 ticks apart.
    auto lb = [&](std::int32_t i) { return cls(i) == TSyllableClass::LineBreak; };
    for (std::int32_t m = 0; m < count; ++m) {
        if (cls(m) != TSyllableClass::BarMarker) continue;
        if (m < count - 4 && lb(m + 1) && lb(m + 2) && lb(m + 3)) {
            const std::int32_t t = s[m + 4].Tick;
            s[m].Tick = t - 16;
            s[m + 1].Tick = t - 12;
            s[m + 2].Tick = t - 8;
            s[m + 3].Tick = t - 4;
        } else if (m < count - 3 && lb(m + 1) && lb(m + 2)) {
            const std::int32_t t = s[m + 3].Tick;
            s[m].Tick = t - 12;
            s[m + 1].Tick = t - 8;
            s[m + 2].Tick = t - 4;
        } else if (m < count - 2 && lb(m + 1)) {
            const std::int32_t t = s[m + 2].Tick;
            s[m].Tick = t - 8;
            s[m + 1].Tick = t - 4;
        } else if (m < count - 1) {
            s[m].Tick = s[m + 1].Tick - 4;
        } else {
            s[m].Tick = song.SongEndTick - 4;
        }
    }

    // The lyric events are written in table order, so the table must stay in
    // tick order: a packed bar marker that lands before the syllable in front
    // of it, or surplus syllables at the song end that land before the last
    // linked note, follow their predecessor by 4 ticks instead.
    for (std::int32_t q = 1; q < count; ++q)
        if (s[q].Tick < s[q - 1].Tick) s[q].Tick = s[q - 1].Tick + 4;

    // 4. Positions, 5. rebuild.
    for (std::int32_t i = 0; i < count; ++i)
        s[i].PosText = TickToPosText(song, s[i].Tick);
    RebuildLyricEvents(song);
}

} // namespace lv
