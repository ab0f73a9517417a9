#include "writer/Prompter.h"

#include <algorithm>
#include <cmath>

#include "model/Errors.h"
#include "model/Reader.h"
#include "model/TimeMap.h"
#include "text/MessagesWriter.h"
#include "writer/PrompterStream.h"

namespace lv {

namespace {

// Cursor position as the display takes it: column, then the line (six bytes
// from line 100 on).
void MakeCommand(TSHyphens& entry, int line, int column) {
    if (line < 100) {
        entry.Command = {9,  static_cast<std::uint8_t>(column + 28),
                         10, static_cast<std::uint8_t>(line + 28),
                         0,  0};
        entry.CommandSize = 1;
    } else {
        entry.Command = {9,  static_cast<std::uint8_t>(column + 28),
                         16, static_cast<std::uint8_t>(line / 100 + 28),
                         10, static_cast<std::uint8_t>(line % 100 + 28)};
        entry.CommandSize = 2;
    }
}

int CommandBytes(const TSHyphens& e) {
    return e.CommandSize == 2 ? 6 : 4;
}

double FirstZoneMsPerTick(const TSong& song) {
    if (!song.TimeZones.empty() && song.TimeZones[0].MsPerTick > 0.f)
        return static_cast<double>(song.TimeZones[0].MsPerTick);
    if (song.Division == 0) return 0.0;
    return static_cast<double>(static_cast<float>(500000.0 / 1000.0 / song.Division));
}

} // namespace

TPrompterPlan PlanPrompterStream(const TSong& song, std::string* tooManyLines) {
    TPrompterPlan plan;
    const TConfiguration& cfg = song.Config;

    // P2: the line table.
    ASHyphens& table = plan.Lines;
    if (!cfg.CopyrightString.empty()) {
        table.push_back(TSHyphens{0, {}, 1, cfg.CopyrightString});
        table.push_back(TSHyphens{4, {}, 1, "\r"});
    }
    const std::int32_t count = std::min<std::int32_t>(
        song.SyllableCount, static_cast<std::int32_t>(song.Syllables.size()));
    for (std::int32_t i = 0; i < count; ++i)
        table.push_back(TSHyphens{song.Syllables[i].Tick, {}, 1, song.Syllables[i].Text});
    if (table.size() > 65535) throw ERangeError("prompter line table above 65535 entries");

    // P3: lead, spacing, cursor commands.
    const double m = FirstZoneMsPerTick(song);
    std::int64_t lead = 0;
    if (m > 0.0)
        lead = static_cast<std::int64_t>(std::nearbyint(cfg.SufflorTimeOffset / m)) +
               static_cast<std::int64_t>(std::nearbyint(150.0 / m));
    if (lead < 0 || lead > 65535) throw ERangeError("prompter lead above 65535 ticks");
    plan.Lead = static_cast<std::int32_t>(lead);
    for (std::size_t i = 0; i < table.size(); ++i) {
        std::int64_t t = static_cast<std::int64_t>(table[i].Tick) - lead;
        if (t < 0) t = 0;
        if (i > 0 && t < static_cast<std::int64_t>(table[i - 1].Tick) + 4)
            t = table[i - 1].Tick + 4;
        table[i].Tick = static_cast<std::int32_t>(std::min<std::int64_t>(t, INT32_MAX));
    }
    int line = 0;
    std::size_t column = 0;
    for (auto& e : table) {
        if (e.Text.find('\r') != std::string::npos) {
            ++line;
            column = 0;
        } else {
            column += e.Text.size();
        }
        if (line >= 10000) {
            if (tooManyLines) *tooManyLines = Tr(song.Language, msg::PrompterTooManyLines);
            plan.Lines.clear();
            plan.Values.clear();
            return plan;
        }
        MakeCommand(e, line, static_cast<int>(std::min<std::size_t>(column, 79)));
    }

    // P4: the stream, with framed cursor commands between text values.
    std::vector<std::uint8_t>& v = plan.Values;
    v.push_back(24);
    for (const char* s = kPrompterSignature; *s; ++s)
        v.push_back(static_cast<std::uint8_t>(*s));
    v.push_back(25);
    v.push_back(15);
    v.push_back(18);
    v.push_back(static_cast<std::uint8_t>(cfg.SufflorFont + 28));
    v.push_back(19);
    v.push_back(static_cast<std::uint8_t>(cfg.SufflorFontHeight + 28));
    if (cfg.SufflorInversVideo) v.push_back(26);
    v.push_back(22);

    std::size_t due = 0;
    auto skipLineBreak = [&] {
        if (due < table.size() && due + 1 != table.size() && table[due].Text == "\r") ++due;
    };
    for (const auto& entry : table) {
        for (const char ch : entry.Text) {
            const auto c = static_cast<std::uint8_t>(ch);
            if (c < 128) {
                v.push_back(c);
            } else if (c >= 156) {
                v.push_back(27);
                v.push_back(static_cast<std::uint8_t>(c - 128));
            } // 128..155 have no place on the display
            const std::int64_t lastTick = 4 + 4 * static_cast<std::int64_t>(v.size() - 1);
            if (due < table.size() && table[due].Tick <= lastTick) {
                v.push_back(23);
                for (int k = 0; k < CommandBytes(table[due]); ++k)
                    v.push_back(table[due].Command[k]);
                v.push_back(22);
                ++due;
                skipLineBreak();
            }
        }
    }
    v.push_back(23);
    v.push_back(12);

    // Commands still due follow unframed. Each starts after the stream and
    // after the previous command's last byte, so no two commands interleave.
    std::int64_t next = 4 + 4 * static_cast<std::int64_t>(v.size());
    while (due < table.size()) {
        const TSHyphens& e = table[due];
        std::int64_t t = std::max<std::int64_t>(e.Tick, next);
        for (int k = 0; k < CommandBytes(e); ++k, t += 4)
            plan.Unframed.push_back(
                {static_cast<std::int32_t>(std::min<std::int64_t>(t, INT32_MAX)), e.Command[k]});
        next = t;
        ++due;
        skipLineBreak();
    }
    return plan;
}

void ClearSongStart(TSong& song) {
    const std::uint8_t ccStatus =
        static_cast<std::uint8_t>(0xB0 | (song.Config.SufflorMidiChannel & 0x0F));
    for (std::size_t t = 0; t < song.TrackCount && t < song.Tracks.size(); ++t) {
        TEventList& list = song.Tracks[t].Events;
        if (list.empty()) continue;
        const auto last = std::prev(list.end());

        auto it =
            std::find_if(list.begin(), list.end(), [](const TMidiEvent& e) { return e.Tick >= 4; });
        if (it != list.end() && it != last) {
            std::int32_t tick = 61;
            for (; it != last; ++it)
                if (it->Tick <= 60) it->Tick = tick++;
            it = std::find_if(list.begin(), list.end(),
                              [](const TMidiEvent& e) { return e.Tick > 60; });
            if (it != list.end() && it != last) {
                for (auto succ = std::next(it); succ != list.end(); ++it, ++succ)
                    if (succ->Tick < it->Tick) succ->Tick = it->Tick;
            }
        }
        // Stray prompter commands in the music tracks become empty texts,
        // which the writer leaves out.
        for (auto e = list.begin(); e != last; ++e) {
            if (e->Kind == 1 && e->Status == ccStatus &&
                e->Data1 == song.Config.SufflorCmdController) {
                e->Status = 0xFF;
                e->Kind = 2;
                e->MetaType = 1;
                e->Length = 0;
                e->Data.clear();
                e->Data1 = e->Data2 = e->OrigData1 = e->OrigData2 = 0;
            }
        }
    }
}

void BuildPrompterTrack(TSong& song) {
    if (!song.SongLoaded) return;
    RemovePrompterCommands(song);
    ClearSongStart(song);
    song.PrompterTrackIndex = static_cast<std::int16_t>(song.TrackCount + 1);
    song.PrompterController = song.Config.SufflorCmdController;
    song.PrompterChannel = song.Config.SufflorMidiChannel;

    std::string tooMany;
    const TPrompterPlan plan = PlanPrompterStream(song, &tooMany);
    if (!tooMany.empty()) {
        song.UserDialogs().Message(tooMany, std::string(kAppTitle) + msg::PrompterCaptionSuffix);
        return;
    }

    const std::uint8_t ch = song.Config.SufflorMidiChannel & 0x0F;
    const std::uint8_t cc = song.Config.SufflorCmdController & 0x7F;
    std::vector<TMidiEvent> events;
    if (song.Config.SufflorForYamaha) {
        events.push_back(MakeShortEvent(static_cast<std::uint8_t>(0x90 | ch), 36, 3, 3));
        events.push_back(MakeShortEvent(static_cast<std::uint8_t>(0x90 | ch), 36, 0, 6));
    }
    for (std::size_t k = 0; k < plan.Values.size(); ++k)
        events.push_back(MakeShortEvent(static_cast<std::uint8_t>(0xB0 | ch), cc, plan.Values[k],
                                        static_cast<std::int32_t>(4 + 4 * k)));
    for (const auto& [tick, value] : plan.Unframed)
        events.push_back(MakeShortEvent(static_cast<std::uint8_t>(0xB0 | ch), cc, value, tick));
    // Each goes before the first event with a greater tick: equal ticks keep
    // the order in which they were made.
    std::stable_sort(events.begin(), events.end(),
                     [](const TMidiEvent& a, const TMidiEvent& b) { return a.Tick < b.Tick; });

    TTrack& track = song.PrompterTrack();
    if (track.Events.empty()) return;
    const auto end = std::prev(track.Events.end());
    auto at = track.Events.begin();
    for (TMidiEvent& e : events) {
        if (e.Tick >= end->Tick) break; // nothing at or after the song's end
        while (at != end && at->Tick <= e.Tick)
            ++at;
        track.Events.insert(at, std::move(e));
        ++track.EventCount;
    }
    ComputeEventTimes(song);
}

} // namespace lv
