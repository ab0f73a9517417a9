#include "lyrics/MtcEditing.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>

#include "lyrics/TextView.h"
#include "model/TimeMap.h"
#include "text/MessagesTiming.h"

namespace lv {

namespace {

constexpr std::int64_t kTickLimit = std::int64_t{1} << 30; // beyond any real song

bool IsLineBreak(const THyphens& e) {
    return e.Text == "\r";
}

bool IsBlankChar(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool IsBlank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), IsBlankChar);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool Contains(const std::string& s, const char* what) {
    return s.find(what) != std::string::npos;
}

// Bar digits of a line: three, or more when the user's song has more than 999
// bars and the line starts with that many digits before the first point.
std::size_t BarDigits(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && IsDigit(line[i]))
        ++i;
    return (i > 3 && i < line.size() && line[i] == '.') ? i : 3;
}

// Tick digits of a line: as many as Division has, or more when the line
// holds more (a beat of a whole note is longer than Division).
std::size_t TickDigits(const std::string& line, int digits) {
    std::size_t i = BarDigits(line) + 4;
    const std::size_t from = i;
    while (i < line.size() && IsDigit(line[i]))
        ++i;
    return std::max(i - from, static_cast<std::size_t>(digits));
}

std::size_t PositionWidth(const std::string& line, int digits) {
    return BarDigits(line) + 4 + TickDigits(line, digits);
}

// Everything after the position and its blank.
std::string TextColumn(const std::string& line, int digits) {
    const std::size_t from = PositionWidth(line, digits) + 1;
    return from < line.size() ? line.substr(from) : std::string();
}

void TrimRight(std::string& s) {
    while (!s.empty() && IsBlankChar(s.back()))
        s.pop_back();
}

// Typographic apostrophes and accents become the plain apostrophe.
void NormaliseQuotes(std::string& s) {
    for (char& c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0xB4 || u == 0x60 || u == 0x82 || u == 0x91 || u == 0x92) c = '\'';
    }
}

std::int64_t ReadNumber(const std::string& s, std::size_t from, std::size_t count) {
    std::int64_t v = 0;
    for (std::size_t i = from; i < from + count; ++i)
        v = v * 10 + (s[i] - '0');
    return v;
}

struct TPosition {
    std::int64_t Number = 0; // the position's digits read as one number
    std::int64_t Bar = 0, Beat = 0, Tick = 0;
};

// The position at the start of a line: bar, ".", two beat digits, ".", the
// tick digits. Anything else (or all zeros) cannot be read.
bool ReadPosition(const std::string& line, int digits, TPosition& pos) {
    const std::size_t bar = BarDigits(line);
    const std::size_t ticks = TickDigits(line, digits);
    const std::size_t width = bar + 4 + ticks;
    if (line.size() < width || bar > 9 || ticks > 9) return false;
    for (std::size_t i = 0; i < width; ++i) {
        const bool dot = (i == bar || i == bar + 3);
        if (dot ? line[i] != '.' : !IsDigit(line[i])) return false;
    }
    pos.Bar = ReadNumber(line, 0, bar);
    pos.Beat = ReadNumber(line, bar + 1, 2);
    pos.Tick = ReadNumber(line, bar + 4, ticks);
    std::int64_t scale = 1;
    for (int i = 0; i < digits; ++i)
        scale *= 10;
    pos.Number = (pos.Bar * 100 + pos.Beat) * scale + pos.Tick;
    return pos.Number != 0;
}

std::int64_t ZoneStartNumber(const TTimeZone& z, int digits) {
    std::int64_t scale = 1;
    for (int i = 0; i < digits; ++i)
        scale *= 10;
    return (std::int64_t{z.Bar} * 100 + z.Beat) * scale + z.BeatTick;
}

// Finds the zone a position number falls into: the first zone whose start
// number is at most the number and whose successor's is above it, else the
// last zone in use. Start numbers grow with the zones, so a binary search
// does; a table where they do not is walked zone by zone.
class TZoneFinder {
  public:
    TZoneFinder(const TSong& song, int digits) : Song(song) {
        Count = std::min<std::int32_t>(song.TimeZoneCount,
                                       static_cast<std::int32_t>(song.TimeZones.size()));
        Starts.reserve(static_cast<std::size_t>(std::max(Count, 0)));
        for (std::int32_t z = 0; z < Count; ++z)
            Starts.push_back(ZoneStartNumber(song.TimeZones[z], digits));
        Sorted = std::is_sorted(Starts.begin(), Starts.end());
    }

    // A song without zones counts as one 4/4 zone from tick 0.
    TTimeZone Find(std::int64_t number) const {
        if (Count <= 0) return TTimeZone{};
        if (Sorted) {
            const auto above = std::upper_bound(Starts.begin(), Starts.end(), number);
            const auto z = static_cast<std::int32_t>(above - Starts.begin()) - 1;
            return Song.TimeZones[z < 0 || z >= Count - 1 ? Count - 1 : z];
        }
        for (std::int32_t z = 0; z + 1 < Count; ++z)
            if (number >= Starts[z] && number < Starts[z + 1]) return Song.TimeZones[z];
        return Song.TimeZones[Count - 1];
    }

  private:
    const TSong& Song;
    std::int32_t Count = 0;
    std::vector<std::int64_t> Starts;
    bool Sorted = true;
};

// The tick of a position through the zone its number falls into.
std::int64_t PositionToTick(const TSong& song, const TZoneFinder& zones, const TPosition& pos) {
    const TTimeZone zone = zones.Find(pos.Number);
    const std::int64_t denominator = zone.Denominator ? zone.Denominator : 4;
    const std::int64_t beats = (pos.Bar - zone.Bar) * zone.Numerator + (pos.Beat - zone.Beat);
    return zone.Tick + beats * 4 * song.Division / denominator + pos.Tick - zone.BeatTick;
}

std::int32_t LineStart(const TEditorText& editor, std::size_t line) {
    std::int32_t pos = 0;
    for (std::size_t i = 0; i < line && i < editor.Lines.size(); ++i)
        pos += static_cast<std::int32_t>(editor.Lines[i].size()) + 2;
    return pos;
}

TMtcFinishResult Reject(TSong& song, TEditorText& editor, std::size_t lineIndex) {
    editor.ReadOnly = false;
    song.UserDialogs().Message(
        msg::MtcPositionWrong(song.Language, static_cast<int>(lineIndex) + 1), kAppTitle);
    return {TMtcFinishStatus::Rejected, static_cast<int>(lineIndex) + 1};
}

} // namespace

std::string MtcLine(const TSong& song, const THyphens& entry) {
    // The position is written from the tick: stored position texts of recorded
    // syllables and header lines use another digit layout when Division has
    // fewer or more than three digits, and would not be read back.
    std::string line;
    try {
        line = TickToPosText(song, std::max<std::int32_t>(entry.Tick, 0));
    } catch (const std::exception&) {
        line = entry.PosText;
    }
    line += ' ';
    if (IsLineBreak(entry)) return line + kNewLineMarker;
    const std::string& t = entry.Text;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == ' ' && i + 1 != t.size())
            line += '_';
        else if (t[i] == '-')
            line += '~';
        else
            line += t[i];
    }
    if (t.back() != ' ') line += '-';
    return line;
}

std::int32_t StartMtcEditing(TSong& song, TEditorText& editor) {
    editor.Lines.clear();
    const std::int32_t count = std::min<std::int32_t>(
        song.SyllableCount, static_cast<std::int32_t>(song.Syllables.size()));
    std::int32_t selectedLine = -1;
    for (std::int32_t i = 0; i < count; ++i) {
        const THyphens& e = song.Syllables[i];
        if (!e.Text.empty()) editor.Lines.push_back(MtcLine(song, e));
        if (i == song.SelectedSyllable)
            selectedLine = static_cast<std::int32_t>(editor.Lines.size()) - 1;
    }
    // A syllable does not continue its word across a line break.
    for (std::size_t i = 1; i < editor.Lines.size(); ++i) {
        std::string& prev = editor.Lines[i - 1];
        if (Contains(editor.Lines[i], kNewLineMarker) && !prev.empty() && prev.back() == '-')
            prev.pop_back();
    }
    if (editor.Lines.empty()) editor.Lines.emplace_back();

    const std::size_t last = editor.Lines.size() - 1;
    std::int32_t scroll = 0;
    editor.SelStart = 0;
    if (selectedLine >= 0) {
        const auto line = static_cast<std::size_t>(selectedLine);
        scroll = LineStart(editor, std::min(line + 3, last));
        editor.SelStart = line < last ? LineStart(editor, line + 1)
                                      : LineStart(editor, last) +
                                            static_cast<std::int32_t>(editor.Lines[last].size());
    }
    editor.SelLength = 0;
    editor.ReadOnly = false;
    song.EditMode = true;
    return scroll;
}

void PlaceHeaderAndOrder(AHyphens& e) {
    const std::size_t k = e.size();
    if (k == 0) return;
    e[0].Tick = 108;
    if (k > 1 && IsLineBreak(e[1])) {
        e[1].Tick = 112;
        // The artist line sits just before the first lyric entry.
        if (k > 3 && IsLineBreak(e[2])) {
            e[2].Tick = e[3].Tick - 4;
        } else if (k > 4 && IsLineBreak(e[3])) {
            e[2].Tick = e[4].Tick - 8;
            e[3].Tick = e[4].Tick - 4;
        } else if (k > 5 && IsLineBreak(e[4])) {
            e[2].Tick = e[5].Tick - 12;
            e[3].Tick = e[5].Tick - 8;
            e[4].Tick = e[5].Tick - 4;
        }
    }
    for (std::size_t q = 1; q < k; ++q)
        if (e[q].Tick < e[q - 1].Tick) e[q].Tick = e[q - 1].Tick + 4;
}

TMtcFinishResult FinishMtcEditing(TSong& song, TEditorText& editor) {
    auto& lines = editor.Lines;
    if (lines.size() <= 2) return {TMtcFinishStatus::TooFewLines, 0};
    song.LyricsRecorded = false;
    const int digits = DivisionDigits(song.Division);

    // Clean-up: at most two line-break lines in a row, no lines without text,
    // nothing but lyrics at the end. The first two lines always stay.
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (i >= 2) {
            const std::size_t k = kept.size();
            const bool thirdBreak = Contains(line, kNewLineMarker) &&
                                    Contains(kept[k - 1], kNewLineMarker) &&
                                    Contains(kept[k - 2], kNewLineMarker);
            if (thirdBreak || IsBlank(line) || IsBlank(TextColumn(line, digits))) continue;
        }
        kept.push_back(std::move(line));
    }
    lines = std::move(kept);
    while (!lines.empty() && (IsBlank(lines.back()) || IsBlank(TextColumn(lines.back(), digits)) ||
                              Contains(lines.back(), kNewLineMarker)))
        lines.pop_back();

    const std::int32_t oldCount = std::min<std::int32_t>(
        song.SyllableCount, static_cast<std::int32_t>(song.Syllables.size()));
    const TZoneFinder zones(song, digits);
    AHyphens entries;
    entries.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        THyphens entry;
        std::string t = TextColumn(line, digits);
        if (Contains(t, kNewLineMarker)) {
            entry.Text = "\r";
            if (!entries.empty() && !entries.back().Text.empty() &&
                entries.back().Text.back() == ' ')
                entries.back().Text.pop_back();
        } else {
            TrimRight(t);
            if (t.empty()) {
                // Only the first two lines can get here: an empty title or artist.
            } else if (t == "----" || t == "-----") {
                t += ' ';
            } else if (t.back() == '-' && t.size() > 1) {
                t.pop_back(); // the word goes on
            } else {
                t += ' ';
            }
            NormaliseQuotes(t);
            for (char& c : t) {
                if (c == '_')
                    c = ' ';
                else if (c == '~')
                    c = '-';
            }
            entry.Text = std::move(t);
        }

        TPosition pos;
        if (!ReadPosition(line, digits, pos)) return Reject(song, editor, i);
        const std::int64_t tick = PositionToTick(song, zones, pos);
        if (tick < -kTickLimit || tick > kTickLimit) return Reject(song, editor, i);
        entry.Tick = static_cast<std::int32_t>(tick);
        const auto j = static_cast<std::int32_t>(entries.size());
        entry.SavedTick = (j < oldCount && song.Syllables[j].Tick == entry.Tick)
                              ? song.Syllables[j].SavedTick
                              : entry.Tick;
        entries.push_back(std::move(entry));
    }

    PlaceHeaderAndOrder(entries);
    // Positions are stored in their normal form; a tick the time map cannot
    // express as a position is the fault of its line.
    for (std::size_t j = 0; j < entries.size(); ++j) {
        try {
            entries[j].PosText = TickToPosText(song, entries[j].Tick);
        } catch (const std::exception&) {
            return Reject(song, editor, j);
        }
    }

    song.Syllables = std::move(entries);
    song.SyllableCount = static_cast<std::int32_t>(song.Syllables.size());
    const std::string view = BuildViewText(song);
    editor.SetText(view);
    editor.ReadOnly = true;
    editor.SelStart = 0;
    editor.SelLength = 0;
    const THighlight h = HighlightSyllable(song, song.SelectedSyllable, view);
    if (h.Apply) {
        editor.SelStart = h.SelStart;
        editor.SelLength = h.SelEnd - h.SelStart;
    }
    song.EditMode = false;
    RebuildLyricEvents(song);
    return {TMtcFinishStatus::Done, 0};
}

} // namespace lv
