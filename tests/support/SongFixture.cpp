#include "SongFixture.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sstream>

#include "model/TimeMap.h"

namespace lvtest {

using lv::TMidiEvent;
using lv::TSong;

namespace {

bool IsCounted(const TMidiEvent& e) {
    if (e.Kind == 1) return true;
    if (e.Status == 0xF0 || e.Status == 0xF7) return true;
    switch (e.MetaType) {
    case 5:
    case 33:
    case 47:
    case 0x51:
    case 0x54:
    case 0x58:
    case 0x59:
        return true;
    default:
        return false;
    }
}

std::uint16_t BpmOf(std::int32_t tempo) {
    return static_cast<std::uint16_t>(std::nearbyint(60000000.0 / tempo));
}

int ExponentOf(int denominator) {
    int e = 0;
    while ((1 << e) < denominator)
        ++e;
    return e;
}

} // namespace

TSong MakeSong(const TSongSetup& setup) {
    TSong song;
    song.SourceFormat = setup.Format;
    song.TrackCount = setup.TrackCount;
    song.Division = setup.Division;
    song.SongEndTick = setup.SongEndTick;
    song.Tracks.resize(setup.TrackCount + 2u);
    for (auto& track : song.Tracks) {
        track.Events.push_back(lv::MakePortHead());
        track.EventCount = 1;
    }
    song.LyricsTrack().Events.push_back(lv::MakeMetaEvent(3, "Lyrics", 0));
    song.PrompterTrack().Events.push_back(lv::MakeMetaEvent(3, "Suffloer", 0));
    for (auto& track : song.Tracks) {
        track.Events.push_back(lv::MakeEndOfTrack(setup.SongEndTick));
        ++track.EventCount;
    }

    // Maps as the reader fills them: one spare entry beyond the events, the
    // spares then completed with the defaults and sentinels.
    const auto tempoEntries = std::max<std::size_t>(setup.Tempos.size(), 1) + 1;
    song.Tempos.assign(tempoEntries, lv::TTempo{});
    song.TempoCount = static_cast<std::int32_t>(tempoEntries);
    for (std::size_t i = 0; i < setup.Tempos.size(); ++i) {
        auto& t = song.Tempos[i];
        t.Tick = setup.Tempos[i].Tick;
        t.Tempo = t.OrigTempo = t.FileTempo = setup.Tempos[i].Tempo;
        t.BPM = BpmOf(t.Tempo);
    }
    if (song.Tempos[0].Tick < 0) {
        auto& t = song.Tempos[0];
        t.Tick = 0;
        t.Tempo = t.OrigTempo = t.FileTempo = 500000;
        t.BPM = 120;
    }
    for (std::size_t i = 1; i < song.Tempos.size(); ++i)
        if (song.Tempos[i].Tick < 0) {
            song.Tempos[i] = song.Tempos[i - 1];
            song.Tempos[i].Tick = setup.SongEndTick + 1;
        }

    const auto signEntries = std::max<std::size_t>(setup.TimeSigns.size(), 1) + 1;
    song.TimeSigns.assign(signEntries, lv::TTimeSign{});
    song.TimeSignCount = static_cast<std::int32_t>(signEntries);
    for (std::size_t i = 0; i < setup.TimeSigns.size(); ++i) {
        auto& s = song.TimeSigns[i];
        s.Tick = setup.TimeSigns[i].Tick;
        s.Numerator = static_cast<std::uint8_t>(setup.TimeSigns[i].Numerator);
        s.Denominator = static_cast<std::uint8_t>(setup.TimeSigns[i].Denominator);
    }
    if (song.TimeSigns[0].Tick < 0) song.TimeSigns[0] = lv::TTimeSign{8, 4, 4, 0, 24};
    for (std::size_t i = 1; i < song.TimeSigns.size(); ++i)
        if (song.TimeSigns[i].Tick < 0) {
            song.TimeSigns[i] = song.TimeSigns[i - 1];
            song.TimeSigns[i].Tick = setup.SongEndTick + 1;
        }

    if (setup.TrackCount > 0) {
        for (const auto& t : setup.Tempos) {
            std::string data{static_cast<char>((t.Tempo >> 16) & 0xFF),
                             static_cast<char>((t.Tempo >> 8) & 0xFF),
                             static_cast<char>(t.Tempo & 0xFF)};
            AddEvent(song, 0, lv::MakeMetaEvent(0x51, data, t.Tick));
        }
        for (const auto& s : setup.TimeSigns) {
            std::string data{static_cast<char>(s.Numerator),
                             static_cast<char>(ExponentOf(s.Denominator)), 24, 8};
            AddEvent(song, 0, lv::MakeMetaEvent(0x58, data, s.Tick));
        }
    }
    for (auto& track : song.Tracks)
        track.PlayCursor = track.Head();

    if (setup.BuildTimes) {
        lv::BuildTimeZones(song);
        lv::ComputeEventTimes(song);
    }
    return song;
}

TMidiEvent& AddEvent(TSong& song, std::size_t track, TMidiEvent event) {
    auto& list = song.Tracks.at(track).Events;
    auto pos = std::next(list.begin()); // never before the head
    const auto last = std::prev(list.end());
    while (pos != last && pos->Tick <= event.Tick)
        ++pos;
    if (IsCounted(event)) ++song.Tracks[track].EventCount;
    return *list.insert(pos, std::move(event));
}

TMidiEvent& AppendEvent(TSong& song, std::size_t track, TMidiEvent event) {
    auto& list = song.Tracks.at(track).Events;
    if (IsCounted(event)) ++song.Tracks[track].EventCount;
    return *list.insert(std::prev(list.end()), std::move(event));
}

TMidiEvent& AddLyric(TSong& song, std::int32_t tick, const std::string& text) {
    return AddEvent(song, song.LyricsTrackIndex(), lv::MakeMetaEvent(5, text, tick));
}

TMidiEvent& AddText(TSong& song, std::size_t track, std::int32_t tick, const std::string& text) {
    return AddEvent(song, track, lv::MakeMetaEvent(1, text, tick));
}

void AddNote(TSong& song, std::size_t track, std::int32_t tick, std::int32_t length, int channel,
             int key, int velocity) {
    AddEvent(song, track,
             lv::MakeShortEvent(static_cast<std::uint8_t>(0x90 | channel),
                                static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(velocity),
                                tick));
    AddEvent(song, track,
             lv::MakeShortEvent(static_cast<std::uint8_t>(0x80 | channel),
                                static_cast<std::uint8_t>(key), 64, tick + length));
}

void SetSongEnd(TSong& song, std::int32_t tick) {
    song.SongEndTick = tick;
    for (auto& track : song.Tracks)
        track.Events.back().Tick = tick;
}

void SetSyllables(TSong& song, const std::vector<std::pair<std::int32_t, std::string>>& rows) {
    song.Syllables.assign(rows.size(), lv::THyphens{});
    song.SyllableCount = static_cast<std::int32_t>(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto& h = song.Syllables[i];
        h.Tick = h.SavedTick = rows[i].first;
        h.Text = rows[i].second;
        if (song.TimeZoneCount > 0) h.PosText = lv::TickToPosText(song, h.Tick);
    }
}

std::vector<std::pair<std::int32_t, std::string>> SyllableRows(const TSong& song) {
    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        rows.emplace_back(song.Syllables.at(i).Tick, song.Syllables.at(i).Text);
    return rows;
}

std::vector<std::pair<std::int32_t, std::string>> MetaRows(const TSong& song, std::size_t track,
                                                           int metaType) {
    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (const auto& e : song.Tracks.at(track).Events)
        if (e.IsMeta(metaType)) rows.emplace_back(e.Tick, e.Data);
    return rows;
}

std::string CheckTrackInvariants(TSong& song) {
    std::ostringstream out;
    for (std::size_t i = 0; i < song.Tracks.size(); ++i) {
        auto& list = song.Tracks[i].Events;
        if (list.size() < 2) return "track " + std::to_string(i) + " lacks head or end";
        if (!list.front().IsMeta(33) || list.front().Tick != 0)
            return "track " + std::to_string(i) + " head is not a port event at tick 0";
        const auto& last = list.back();
        if (!last.IsMeta(47) || last.Tick != song.SongEndTick || last.Length != 0)
            return "track " + std::to_string(i) + " does not end at SongEndTick";
        std::int32_t counted = 0;
        std::int32_t ends = 0;
        for (const auto& e : list) {
            if (IsCounted(e)) ++counted;
            if (e.IsMeta(47)) ++ends;
        }
        if (ends != 1) return "track " + std::to_string(i) + " has several end-of-track events";
        if (counted != song.Tracks[i].EventCount) {
            out << "track " << i << " EventCount " << song.Tracks[i].EventCount << ", counted "
                << counted;
            return out.str();
        }
    }
    return {};
}

} // namespace lvtest
