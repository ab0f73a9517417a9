#include "model/OpenSong.h"

#include <fstream>
#include <iterator>
#include <limits>

#include "lyrics/TextView.h"
#include "model/Errors.h"
#include "model/Extract.h"
#include "model/Reader.h"
#include "model/TimeMap.h"
#include "playback/PlaybackSpeed.h"
#include "text/MessagesModel.h"

namespace lv {

namespace {

constexpr std::size_t kShortestFile = 24;

AByte ReadWholeFile(const std::string& fileName, const std::string& language) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EMidiError(Tr(language, msg::kCannotRead) + fileName);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) throw EMidiError(Tr(language, msg::kCannotRead) + fileName);
    if (size > std::numeric_limits<std::int32_t>::max())
        throw ERangeError(Tr(language, msg::kFileTooLarge));
    in.seekg(0, std::ios::beg);
    AByte bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        throw EMidiError(Tr(language, msg::kCannotRead) + fileName);
    return bytes;
}

// An unfilled first entry takes the default; every later unfilled entry repeats
// the one before it just after the end of the song.
template <typename TEntry>
void CompleteMap(std::vector<TEntry>& map, const TEntry& fallback, std::int32_t songEndTick) {
    for (std::size_t k = 0; k < map.size(); ++k) {
        if (map[k].Tick != -1) continue;
        if (k == 0) {
            map[0] = fallback;
        } else {
            map[k] = map[k - 1];
            map[k].Tick = songEndTick + 1;
        }
    }
}

void CollectXFChords(TSong& song) {
    if (song.XFChordCount <= 5 || song.XFChordTrack == -1) return;
    if (song.XFChordTrack < 0 || static_cast<std::size_t>(song.XFChordTrack) >= song.Tracks.size())
        return;
    TTrack& track = song.Tracks[static_cast<std::size_t>(song.XFChordTrack)];
    song.XFChords.clear();
    song.XFChords.reserve(static_cast<std::size_t>(song.XFChordCount));
    song.XFChordCount = 0;
    if (!track.HasHead()) return;
    for (auto it = track.Events.begin(); it != track.Last(); ++it) {
        const TMidiEvent& e = *it;
        if (e.Length == 7 && e.Kind == 2 && e.MetaType == 127 && e.Data.size() >= 7 &&
            e.Data[0] == '\x43' && e.Data[1] == '\x7B' && e.Data[2] == '\x01') {
            song.XFChords.emplace_back(static_cast<std::uint8_t>(e.Data[5]),
                                       static_cast<std::uint8_t>(e.Data[3]));
            ++song.XFChordCount;
        }
    }
}

bool IsBreak(const TSong& song, std::size_t k) {
    return song.Syllables[k].Text == "\r";
}

// The title line sits at ticks 108 and 112; the performer line moves to just
// before the first sung syllable.
void PlaceTitleAndPerformer(TSong& song) {
    const std::int32_t n = song.SyllableCount;
    auto& s = song.Syllables;
    if (n <= 0) return;
    s[0].Tick = 108;
    if (n <= 1 || !IsBreak(song, 1)) return;
    s[1].Tick = 112;
    if (n > 3 && IsBreak(song, 2)) {
        s[2].Tick = s[3].Tick - 4;
    } else if (n > 4 && IsBreak(song, 3)) {
        s[2].Tick = s[4].Tick - 8;
        s[3].Tick = s[4].Tick - 4;
    } else if (n > 5 && IsBreak(song, 4)) {
        s[2].Tick = s[5].Tick - 12;
        s[3].Tick = s[5].Tick - 8;
        s[4].Tick = s[5].Tick - 4;
    }
}

void BeginOpen(TSong& song, const std::string& fileName) {
    song.HasLastHiddenNote = false;
    // A failed open leaves the song not loaded but may leave lists behind;
    // they go now as well.
    FreeSong(song);
    song.FileName = fileName;
}

TOpenResult OpenLoaded(TSong& song, AByte image) {
    if (image.size() < kShortestFile) throw EMidiError(Tr(song.Language, msg::kTooShort));
    song.FileImage = std::move(image);
    song.PrompterTrackIndex = -1;
    try {
        ReadMidiFile(song);
    } catch (...) {
        song.FileImage = AByte();
        throw;
    }
    song.FileImage = AByte();

    ApplyPlaybackSpeed(song);

    TTempo defaultTempo;
    defaultTempo.Tick = 0;
    defaultTempo.BPM = 120;
    defaultTempo.Tempo = defaultTempo.OrigTempo = defaultTempo.FileTempo = 500000;
    CompleteMap(song.Tempos, defaultTempo, song.SongEndTick);
    TTimeSign defaultSign;
    defaultSign.Tick = 0;
    defaultSign.Numerator = 4;
    defaultSign.Denominator = 4;
    defaultSign.ThirtySecondsPerQuarter = 8;
    defaultSign.ClocksPerClick = 24;
    CompleteMap(song.TimeSigns, defaultSign, song.SongEndTick);

    BuildTimeZones(song);
    song.CurrentZone = 0;
    ComputeEventTimes(song);
    const std::int64_t afterEnd = static_cast<std::int64_t>(song.SongEndTick) + 1;
    for (auto& z : song.TimeZones)
        if (z.Tick == afterEnd) z.StartMs = song.SongLengthMs + 1;

    CollectXFChords(song);
    ExtractLyrics(song);
    PlaceTitleAndPerformer(song);
    for (std::int32_t k = 0; k < song.SyllableCount; ++k) {
        auto& s = song.Syllables[static_cast<std::size_t>(k)];
        s.PosText = TickToPosText(song, s.Tick);
    }

    TOpenResult result;
    result.HasLyrics = song.SyllableCount >= 1;
    result.ViewText = FillTextView(song);
    song.SelectedSyllable = -1;
    song.AtLineEnd = false;
    result.Highlight = HighlightSyllable(song, -1, result.ViewText);
    result.TempoHint = "Tempo: " + std::to_string(song.Tempos.empty() ? 120 : song.Tempos[0].BPM);

    song.SongLoaded = true;
    song.RulesQuestionPending = true;
    song.EditMode = !result.HasLyrics;
    if (song.Player) song.Player->Locate(0);
    if (result.HasLyrics) RebuildLyricEvents(song);

    for (auto& t : song.Tracks)
        t.PlayCursor = t.Events.begin();
    return result;
}

} // namespace

TOpenResult OpenSong(TSong& song, const std::string& fileName) {
    BeginOpen(song, fileName);
    return OpenLoaded(song, ReadWholeFile(fileName, song.Language));
}

TOpenResult OpenSongFromImage(TSong& song, AByte image, const std::string& fileName) {
    BeginOpen(song, fileName);
    return OpenLoaded(song, std::move(image));
}

void FreeSong(TSong& song) {
    for (auto& t : song.Tracks) {
        t.Events.clear();
        t.EventCount = 0;
        t.PlayCursor = t.Events.end();
    }
    song.MelodyNotes.clear();
    song.MelodyNoteCount = 0;
    song.HasLastHiddenNote = false;
    song.Syllables.clear();
    song.SyllableCount = 0;
    song.SongLoaded = false;
}

std::vector<std::pair<std::string, bool>> OpenMenuStates(bool hasLyrics) {
    const bool on = hasLyrics;
    return {
        {"MainMenu_DateiSpeichern", true},
        {"MainMenu_DateiSpeichernUnter", true},
        {"MainMenu_Edit", true},
        {"MainMenu_Text", true},
        {"MainMenu_TextLaden", true},
        {"MainMenu_TextSchriftAuswahl", true},
        {"MainMenu_TextAssign", on},
        {"PopupMenu_TextAssign", on},
        {"MainMenu_TextDelete", on},
        {"MainMenu_TextEdit", true},
        {"PopupMenu_TextEdit", true},
        {"MainMenu_TextEditMTC", on},
        {"PopupMenu_TextEditMTC", on},
        {"MainMenu_TextExtractPunctuation", on},
        {"MainMenu_TextUpperCase", on},
        {"MainMenu_TextHideNote", on},
        {"PopupMenu_TextHideNote", on},
        {"MainMenu_TextHyphenate", !on},
        {"PopupMenu_TextHyphenate", !on},
        {"MainMenu_TextMove", on},
        {"MainMenu_TextQuantize", on},
        {"MainMenu_TextSpeichern", on},
        {"MainMenu_TextSpeichernUnter", on},
        {"MainMenu_TextUndoQuantize", false},
        {"MainMenu_TextUndoHideNote", false},
        {"PopupMenu_TextUndoHideNote", false},
    };
}

TOpenCaptions OpenEditCaptions(bool hasLyrics, const std::string& language) {
    return {Tr(language, hasLyrics ? msg::kCaptionEdit : msg::kCaptionFinishEdit),
            Tr(language, msg::kCaptionEditMTC)};
}

} // namespace lv
