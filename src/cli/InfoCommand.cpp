// lyrivox-cli info FILE [--json] [--events]: opens a song with the whole open
// pipeline and prints its model. The JSON form is a stable interface for
// scripts: keys are the model's own names, text values are the bytes decoded
// as Windows-1252 (every byte keeps a character of its own).
#include <cinttypes>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "SongOptions.h"
#include "lyrics/TextView.h"
#include "model/OpenSong.h"
#include "model/Song.h"
#include "text/CodePage.h"

namespace lv::cli {

namespace {

// --- JSON ---------------------------------------------------------------

// Lyric bytes as a JSON string: decoded with the code page, control
// characters (C0 and C1) escaped so the output stays readable.
std::string JsonText(const std::string& bytes) {
    std::string out = "\"";
    char buf[8];
    for (unsigned char b : bytes) {
        const char32_t cp = DecodeByte(TCodePage::Windows1252, b);
        if (cp == U'"') {
            out += "\\\"";
        } else if (cp == U'\\') {
            out += "\\\\";
        } else if (cp == U'\n') {
            out += "\\n";
        } else if (cp == U'\r') {
            out += "\\r";
        } else if (cp == U'\t') {
            out += "\\t";
        } else if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) {
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(cp));
            out += buf;
        } else {
            AppendUtf8(out, cp);
        }
    }
    return out + "\"";
}

std::string Hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

// Writes one JSON value after another, with commas and indentation.
class TJson {
  public:
    explicit TJson(std::FILE* out) : Out(out) {}
    void BeginObject(const char* key = nullptr) { Open(key, '{'); }
    void EndObject() { Close('}'); }
    void BeginArray(const char* key = nullptr) { Open(key, '['); }
    void EndArray() { Close(']'); }
    void Raw(const char* key, const std::string& value) {
        Item(key);
        std::fputs(value.c_str(), Out);
    }
    void Int(const char* key, long long v) { Raw(key, std::to_string(v)); }
    void Bool(const char* key, bool v) { Raw(key, v ? "true" : "false"); }
    void Text(const char* key, const std::string& bytes) { Raw(key, JsonText(bytes)); }
    void Float(const char* key, float v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
        Raw(key, buf);
    }
    // Small arrays on one line.
    void Inline(const char* key, const std::string& json) { Raw(key, json); }
    void Finish() { std::fputc('\n', Out); }

  private:
    void Item(const char* key) {
        if (!First.empty()) {
            if (!First.back()) std::fputc(',', Out);
            First.back() = false;
            std::fputc('\n', Out);
            for (std::size_t i = 0; i < First.size(); ++i)
                std::fputs("  ", Out);
        }
        if (key) std::fprintf(Out, "\"%s\": ", key);
    }
    void Open(const char* key, char c) {
        Item(key);
        std::fputc(c, Out);
        First.push_back(true);
    }
    void Close(char c) {
        const bool empty = First.back();
        First.pop_back();
        if (!empty) {
            std::fputc('\n', Out);
            for (std::size_t i = 0; i < First.size(); ++i)
                std::fputs("  ", Out);
        }
        std::fputc(c, Out);
    }
    std::FILE* Out;
    std::vector<bool> First;
};

// Entries 0 .. count-1, then the sentinels at SongEndTick + 1 that follow.
template <typename T>
std::size_t EntriesWithSentinels(const std::vector<T>& v, std::int32_t count,
                                 std::int32_t songEndTick) {
    std::size_t n = std::min(v.size(), static_cast<std::size_t>(std::max(count, 0)));
    while (n < v.size() && v[n].Tick == songEndTick + 1)
        ++n;
    return n;
}

template <typename T> std::size_t EntriesInUse(const std::vector<T>& v, std::int32_t count) {
    return std::min(v.size(), static_cast<std::size_t>(std::max(count, 0)));
}

void PrintJson(TSong& s, bool events) {
    TJson j(stdout);
    j.BeginObject();
    j.Int("SourceFormat", s.SourceFormat);
    j.Int("TrackCount", s.TrackCount);
    j.Int("Division", s.Division);
    j.Int("SongEndTick", s.SongEndTick);
    j.Int("SongLengthMs", s.SongLengthMs);
    j.Int("SyllableCount", s.SyllableCount);
    j.Int("LyricSourceType", s.LyricSourceType);
    j.Int("LyricSourceTrack", s.LyricSourceTrack);
    j.Int("PrompterTrackIndex", s.PrompterTrackIndex);
    j.Int("PrompterController", s.PrompterController);
    j.Int("PrompterChannel", s.PrompterChannel);
    std::string bass = "[";
    for (std::size_t i = 0; i < s.BassChannels.size(); ++i)
        bass += std::string(i ? ", " : "") + (s.BassChannels[i] ? "true" : "false");
    j.Inline("BassChannels", bass + "]");
    j.Int("XFChordCount", s.XFChordCount);
    j.Int("XFChordTrack", s.XFChordTrack);
    j.BeginArray("XFChords");
    for (const auto& [sixth, fourth] : s.XFChords)
        j.Inline(nullptr, "[" + std::to_string(sixth) + ", " + std::to_string(fourth) + "]");
    j.EndArray();

    j.BeginArray("Tracks");
    for (auto& t : s.Tracks) {
        j.BeginObject();
        j.Int("EventCount", t.EventCount);
        if (events) {
            j.BeginArray("Events");
            for (const auto& e : t.Events) {
                j.BeginObject();
                j.Int("Tick", e.Tick);
                j.Int("TimeMs", e.TimeMs);
                j.Int("Status", e.Status);
                j.Int("Kind", e.Kind);
                j.Int("MetaType", e.MetaType);
                j.Int("Flag", e.Flag);
                j.Int("Length", e.Length);
                j.Int("Data1", e.Data1);
                j.Int("Data2", e.Data2);
                j.Int("OrigData1", e.OrigData1);
                j.Int("OrigData2", e.OrigData2);
                j.Raw("Data", "\"" + Hex(e.Data) + "\"");
                j.EndObject();
            }
            j.EndArray();
        }
        j.EndObject();
    }
    j.EndArray();

    j.BeginArray("Tempos");
    for (std::size_t i = 0, n = EntriesWithSentinels(s.Tempos, s.TempoCount, s.SongEndTick); i < n;
         ++i) {
        const auto& t = s.Tempos[i];
        j.BeginObject();
        j.Int("Tick", t.Tick);
        j.Int("Tempo", t.Tempo);
        j.Int("OrigTempo", t.OrigTempo);
        j.Int("FileTempo", t.FileTempo);
        j.Int("BPM", t.BPM);
        j.EndObject();
    }
    j.EndArray();

    j.BeginArray("TimeSigns");
    for (std::size_t i = 0, n = EntriesInUse(s.TimeSigns, s.TimeSignCount); i < n; ++i) {
        const auto& t = s.TimeSigns[i];
        j.BeginObject();
        j.Int("Tick", t.Tick);
        j.Int("Numerator", t.Numerator);
        j.Int("Denominator", t.Denominator);
        j.Int("ClocksPerClick", t.ClocksPerClick);
        j.Int("ThirtySecondsPerQuarter", t.ThirtySecondsPerQuarter);
        j.EndObject();
    }
    j.EndArray();

    j.BeginArray("TimeZones");
    for (std::size_t i = 0, n = EntriesWithSentinels(s.TimeZones, s.TimeZoneCount, s.SongEndTick);
         i < n; ++i) {
        const auto& z = s.TimeZones[i];
        j.BeginObject();
        j.Int("Tick", z.Tick);
        j.Int("Bar", z.Bar);
        j.Int("Beat", z.Beat);
        j.Int("BeatTick", z.BeatTick);
        j.Int("Numerator", z.Numerator);
        j.Int("Denominator", z.Denominator);
        j.Int("BPM", z.BPM);
        j.Int("Tempo", z.Tempo);
        j.Float("MsPerTick", z.MsPerTick);
        j.Int("StartMs", z.StartMs);
        j.EndObject();
    }
    j.EndArray();

    j.BeginArray("Syllables");
    for (std::size_t i = 0, n = EntriesInUse(s.Syllables, s.SyllableCount); i < n; ++i) {
        const auto& h = s.Syllables[i];
        j.BeginObject();
        j.Text("PosText", h.PosText);
        j.Int("Tick", h.Tick);
        j.Text("Text", h.Text);
        j.Int("SavedTick", h.SavedTick);
        j.EndObject();
    }
    j.EndArray();

    j.BeginArray("MelodyNotes");
    for (const auto& e : s.MelodyNotes) {
        j.BeginObject();
        j.Int("Tick", e.Tick);
        j.Int("Data1", e.Data1);
        j.Int("Data2", e.Data2);
        j.Int("Flag", e.Flag);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    j.Finish();
}

// --- plain text for people -------------------------------------------------

std::string Printable(const std::string& bytes) {
    std::string out;
    for (unsigned char b : bytes) {
        const char32_t cp = DecodeByte(TCodePage::Windows1252, b);
        if (cp == U'\r')
            out += "\\r";
        else if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0))
            out += '.';
        else
            AppendUtf8(out, cp);
    }
    return out;
}

const char* MetaName(int type) {
    switch (type) {
    case 0:
        return "sequence number";
    case 1:
        return "text";
    case 2:
        return "copyright";
    case 3:
        return "track name";
    case 4:
        return "instrument";
    case 5:
        return "lyric";
    case 6:
        return "marker";
    case 7:
        return "cue point";
    case 0x21:
        return "port";
    case 0x2F:
        return "end of track";
    case 0x51:
        return "tempo";
    case 0x54:
        return "SMPTE offset";
    case 0x58:
        return "time signature";
    case 0x59:
        return "key signature";
    case 0x7F:
        return "sequencer specific";
    default:
        return "meta";
    }
}

void PrintPlain(TSong& s, bool events) {
    std::printf("File:          %s\n", s.FileName.c_str());
    std::printf("Format:        %d, %d tracks, %d ticks per quarter\n", s.SourceFormat,
                s.TrackCount, s.Division);
    std::printf("Length:        %d ticks, %d ms\n", s.SongEndTick, s.SongLengthMs);
    if (!s.Tempos.empty()) std::printf("Tempo:         %d BPM at the start\n", s.Tempos[0].BPM);
    if (s.PrompterTrackIndex >= 0)
        std::printf("Prompter data: track %d, controller %d, channel %d\n", s.PrompterTrackIndex,
                    s.PrompterController, s.PrompterChannel + 1);
    if (s.XFChordCount > 0)
        std::printf("XF chords:     %d in track %d\n", s.XFChordCount, s.XFChordTrack);
    std::printf("Tracks:\n");
    for (std::size_t i = 0; i < s.Tracks.size(); ++i) {
        const char* what = i == s.LyricsTrackIndex()            ? " (lyrics)"
                           : i == s.PrompterTrackIndexOfModel() ? " (prompter)"
                                                                : "";
        std::printf("  %2zu%-11s %d events\n", i, what, s.Tracks[i].EventCount);
        if (!events) continue;
        for (const auto& e : s.Tracks[i].Events) {
            std::printf("      %8d %8d ms  ", e.Tick, e.TimeMs);
            if (e.IsChannel())
                std::printf("%02X %3d %3d\n", e.Status, e.Data1, e.Data2);
            else if (e.IsMeta())
                std::printf("meta %d %s \"%s\"\n", e.MetaType, MetaName(e.MetaType),
                            Printable(e.Data).c_str());
            else
                std::printf("sysex %02X, %d bytes\n", e.Status, e.Length);
        }
    }
    std::printf("Lyrics:        %d entries from %s events of track %d\n", s.SyllableCount,
                s.LyricSourceType == 1 ? "text" : "lyric", s.LyricSourceTrack);
    // The lyrics as the window shows them, one song line per line, each line
    // with the position of its first syllable.
    std::string line;
    std::string pos;
    for (std::size_t i = 0, n = EntriesInUse(s.Syllables, s.SyllableCount); i < n; ++i) {
        const auto& h = s.Syllables[i];
        if (pos.empty()) pos = h.PosText;
        if (h.Text == "\r") {
            std::printf("  %-12s %s\n", pos.c_str(), Printable(line).c_str());
            line.clear();
            pos.clear();
        } else {
            line += h.Text;
        }
    }
    if (!line.empty()) std::printf("  %-12s %s\n", pos.c_str(), Printable(line).c_str());
}

int RunInfo(std::vector<std::string> args) {
    TSongOptions options = ParseSongOptions(args);
    const bool json = TakeFlag(args, "--json");
    const bool events = TakeFlag(args, "--events");
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) {
        std::fprintf(stderr, "usage: lyrivox-cli info FILE [--json] [--events] [song options]\n");
        return 2;
    }
    TCliDialogs dialogs(options.AnswerYes);
    TSong song;
    ApplySongOptions(options, song);
    song.Dialogs = &dialogs;
    try {
        OpenSong(song, args[0]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (json)
        PrintJson(song, events);
    else
        PrintPlain(song, events);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

static const TCliRegistration reg{{"info", "info FILE [--json] [--events]", RunInfo}};

} // namespace lv::cli
