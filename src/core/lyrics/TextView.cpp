#include "lyrics/TextView.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "model/Errors.h"
#include "model/TimeMap.h"
#include "writer/Prompter.h"

namespace lv {

namespace {

constexpr int kLyricType = 5;
constexpr int kTextType = 1;

// Entries of the table that may be read.
std::int32_t EntriesInUse(const TSong& song) {
    return std::clamp(song.SyllableCount, 0, static_cast<std::int32_t>(song.Syllables.size()));
}

bool IsLineBreak(const THyphens& h) {
    return h.Text == "\r";
}

// A text that ends its line in the view: "\r" and any syllable ending in "\r".
bool EndsLine(const std::string& text) {
    return !text.empty() && text.back() == '\r';
}

// Characters an entry takes in the view text: "\n" follows every line end.
std::int32_t ViewLength(const THyphens& h) {
    return static_cast<std::int32_t>(h.Text.size()) + (EndsLine(h.Text) ? 1 : 0);
}

bool IsTypographicApostrophe(unsigned char c) {
    return c == 0xB4 || c == 0x60 || c == 0x82 || c == 0x91 || c == 0x92;
}

// Unlinks an event, keeping the track's play cursor on a live event.
TEventIt Unlink(TTrack& track, TEventIt it) {
    const bool counted = it->IsMeta(kLyricType);
    if (track.PlayCursor == it) track.PlayCursor = std::next(it);
    if (counted && track.EventCount > 2) --track.EventCount;
    return track.Events.erase(it);
}

// A new lyric event gets its time right away when the zone table exists.
std::int32_t TimeOf(const TSong& song, std::int32_t tick) {
    if (song.TimeZoneCount <= 0) return 0;
    try {
        return TickToMs(song, tick);
    } catch (const ERangeError&) {
        return 0;
    }
}

TMidiEvent MakeLyric(const TSong& song, const std::string& text, std::int32_t tick,
                     std::uint8_t flag) {
    TMidiEvent e = MakeMetaEvent(kLyricType, text, tick);
    e.Flag = flag;
    e.TimeMs = TimeOf(song, tick);
    return e;
}

} // namespace

std::string BuildViewText(const TSong& song) {
    std::string view;
    const std::int32_t n = EntriesInUse(song);
    for (std::int32_t i = 0; i < n; ++i) {
        const std::string& text = song.Syllables[static_cast<std::size_t>(i)].Text;
        if (text.empty()) continue;
        view += text;
        if (EndsLine(text)) view += '\n';
    }
    return view;
}

std::string FillTextView(TSong& song) {
    const std::int32_t n = EntriesInUse(song);
    for (std::int32_t i = 0; i < n; ++i)
        for (char& c : song.Syllables[static_cast<std::size_t>(i)].Text)
            if (IsTypographicApostrophe(static_cast<unsigned char>(c))) c = '\'';
    return BuildViewText(song);
}

THighlight HighlightSyllable(TSong& song, std::int32_t index, const std::string& viewText) {
    THighlight result;
    const std::int32_t n = EntriesInUse(song);
    if (index < 0 || index >= n) return result;
    song.SelectedSyllable = index;

    // Running view position p after each entry, start of the current line and
    // of the line before it.
    std::int32_t p = 0, line = 0, lineBefore = 0;
    for (std::int32_t i = 0; i <= index; ++i) {
        const THyphens& h = song.Syllables[static_cast<std::size_t>(i)];
        p += ViewLength(h);
        if (EndsLine(h.Text)) {
            lineBefore = line;
            line = p;
        }
    }
    const bool onBreak = IsLineBreak(song.Syllables[static_cast<std::size_t>(index)]);

    // Scroll ahead over the next three lines (two when standing on a break).
    std::int32_t q = p;
    int breaksLeft = onBreak ? 2 : 3;
    for (std::int32_t i = index + 1; i < n && breaksLeft > 0; ++i) {
        const THyphens& h = song.Syllables[static_cast<std::size_t>(i)];
        q += ViewLength(h);
        if (EndsLine(h.Text)) --breaksLeft;
    }
    result.ScrollCaret = q;

    std::int32_t selStart = line;
    if (onBreak) {
        // The line just finished, without its line end.
        selStart = lineBefore;
        if (p > 2) {
            const auto at = static_cast<std::size_t>(p - 2);
            p -= (at < viewText.size() && viewText[at] == ' ') ? 2 : 1;
        }
    }
    song.AtLineEnd = false;
    result.SelStart = selStart;
    result.SelEnd = p;
    result.Apply = true;
    return result;
}

void RebuildLyricEvents(TSong& song) {
    const std::int32_t position = song.Player ? song.Player->PositionMs() : 0;
    if (song.Tracks.size() < static_cast<std::size_t>(song.TrackCount) + 2u) return;

    // Old events out: the text events the lyrics came from (never counted),
    // then every lyric event.
    if (song.LyricSourceType == kTextType && song.LyricSourceTrack >= 0 &&
        static_cast<std::size_t>(song.LyricSourceTrack) < song.Tracks.size()) {
        TTrack& source = song.Tracks[static_cast<std::size_t>(song.LyricSourceTrack)];
        if (source.HasHead())
            for (auto it = std::next(source.Events.begin()); it != source.Events.end();)
                it = it->IsMeta(kTextType) ? Unlink(source, it) : std::next(it);
    }
    TTrack& lyrics = song.LyricsTrack();
    if (!lyrics.HasHead()) return;
    for (auto it = std::next(lyrics.Events.begin()); it != lyrics.Events.end();)
        it = it->IsMeta(kLyricType) ? Unlink(lyrics, it) : std::next(it);

    const std::int32_t count = EntriesInUse(song);
    if (count <= 0) return;
    auto& table = song.Syllables;

    // Freshly typed lyrics: the performer line gets times of its own, before
    // the first sung syllable or on the first bar line.
    if (count > 5 && table[0].Tick == 108 && table[1].Tick == 112 && table[2].Tick == -1 &&
        table[3].Tick == -1) {
        const std::int32_t numerator = song.TimeZoneCount > 0 ? song.TimeZones[0].Numerator : 4;
        const std::int32_t barLine = numerator * song.Division;
        if (table[4].Tick < barLine + 4) {
            table[2].Tick = 116;
            table[3].Tick = 120;
        } else {
            table[2].Tick = barLine;
            table[3].Tick = barLine + 4;
        }
        table[2].PosText = TickToHeaderPosText(song, table[2].Tick);
        table[3].PosText = TickToHeaderPosText(song, table[3].Tick);
    }

    bool copyrightPending = !song.Config.CopyrightString.empty();
    std::int32_t cursor = 0;
    auto skipEmpty = [&] {
        while (cursor < count && table[static_cast<std::size_t>(cursor)].Text.empty())
            ++cursor;
    };
    skipEmpty();

    std::int32_t written = 0;
    const auto last = std::prev(lyrics.Events.end());
    if (last->Tick < song.SongEndTick) last->Tick = song.SongEndTick;
    for (auto it = std::next(lyrics.Events.begin()); it != lyrics.Events.end();) {
        if (copyrightPending && it->Tick > 0) {
            lyrics.Events.insert(it, MakeLyric(song, song.Config.CopyrightString, 0, 1));
            lyrics.Events.insert(it, MakeLyric(song, "\r", 0, 1));
            lyrics.EventCount += 2;
            copyrightPending = false;
            continue;
        }
        // An entry earlier than the one written before it (not yet timed, or
        // out of order) is written at that one's tick, so the list stays in tick
        // order; the table keeps its ticks.
        if (!copyrightPending && cursor < count &&
            std::max(table[static_cast<std::size_t>(cursor)].Tick, written) < it->Tick) {
            const THyphens& h = table[static_cast<std::size_t>(cursor)];
            written = std::max(h.Tick, written);
            lyrics.Events.insert(it, MakeLyric(song, h.Text, written, 0));
            ++lyrics.EventCount;
            ++cursor;
            skipEmpty();
            continue;
        }
        // Entries at or after the end-of-track are not written.
        if (it == last || cursor >= count) break;
        ++it;
    }

    song.LyricsRecorded = false;
    if (song.Config.SufflorEnabled) BuildPrompterTrack(song);
    if (song.Player) song.Player->Locate(position);
}

} // namespace lv
