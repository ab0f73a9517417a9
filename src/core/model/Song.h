#pragma once
// The in-memory form of one opened song. The main window owns one; the CLI,
// the batch runner and the tests make their own.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/MidiEvent.h"
#include "settings/Configuration.h"
#include "text/UserDialogs.h"

namespace lv {

struct TTempo {
    std::int32_t FileTempo = 0;  // microseconds per quarter as read
    std::int32_t OrigTempo = 0;  // as loaded: base of tempo change and playback speed
    std::int32_t Tick = -1;      // -1 while unfilled
    std::uint16_t BPM = 0;
    std::int32_t Tempo = 0;  // current microseconds per quarter
};
using ATempo = std::vector<TTempo>;

struct TTimeSign {
    std::uint8_t ThirtySecondsPerQuarter = 8;
    std::uint8_t Denominator = 4;  // 2 ^ second data byte
    std::uint8_t Numerator = 4;
    std::int32_t Tick = -1;
    std::uint8_t ClocksPerClick = 24;
};
using ATimeSign = std::vector<TTimeSign>;

struct TTimeZone {
    std::uint16_t Bar = 1;
    std::uint8_t Beat = 1;
    std::uint16_t BeatTick = 0;
    std::int32_t Tick = 0;
    std::uint8_t Denominator = 4;
    std::uint8_t Numerator = 4;
    std::int16_t BPM = 120;
    float MsPerTick = 0.f;  // Tempo / 1000 / Division, kept as a 32-bit float
    std::uint32_t Tempo = 500000;
    std::int32_t StartMs = 0;
};
using ATimeZone = std::vector<TTimeZone>;

// One syllable or line break of the lyrics. The text "\r" is a line break;
// a trailing blank marks the end of a word.
struct THyphens {
    std::string PosText;
    std::int32_t Tick = -1;  // -1: not yet timed
    std::string Text;
    std::int32_t SavedTick = 0;  // Tick before the last quantize
};
using AHyphens = std::vector<THyphens>;

// What the lyric upkeep needs of the player: its position and Locate.
class TPlayerLink {
  public:
    virtual ~TPlayerLink() = default;
    virtual std::int32_t PositionMs() const = 0;
    virtual void Locate(std::int32_t ms) = 0;
};

struct TSong {
    // File header values
    std::uint8_t SourceFormat = 0;
    std::uint16_t TrackCount = 0;
    std::uint16_t Division = 0;
    std::int32_t SongEndTick = 0;
    std::string FileName;
    bool SongLoaded = false;

    // TrackCount file tracks, then the lyrics track, then the prompter track.
    ATrack Tracks;
    std::size_t LyricsTrackIndex() const { return TrackCount; }
    std::size_t PrompterTrackIndexOfModel() const { return TrackCount + 1u; }
    TTrack& LyricsTrack() { return Tracks[TrackCount]; }
    TTrack& PrompterTrack() { return Tracks[TrackCount + 1u]; }

    ATempo Tempos;
    std::int32_t TempoCount = 0;
    ATimeSign TimeSigns;
    std::int32_t TimeSignCount = 0;
    ATimeZone TimeZones;
    std::int32_t TimeZoneCount = 0;

    // Syllable table; entries 0 .. SyllableCount-1 are in use.
    AHyphens Syllables;
    std::int32_t SyllableCount = 0;
    std::int32_t SyllableCursor = 0;
    std::int32_t SelectedSyllable = -1;
    bool AtLineEnd = false;
    std::int32_t LyricSourceType = 5;  // 5 lyric events, 1 text events
    std::int32_t LyricSourceTrack = 0;

    // Melody notes: port head, note-ons of the melody channel, end-of-track.
    TEventList MelodyNotes;
    std::int32_t MelodyNoteCount = 0;
    TEventIt LastHiddenNote{};
    bool HasLastHiddenNote = false;

    // Prompter and chord detection
    std::int16_t PrompterTrackIndex = -1;
    std::uint8_t PrompterController = 0;
    std::uint8_t PrompterChannel = 0;
    std::uint8_t SignatureState = 0;
    std::array<bool, 16> BassChannels{};
    std::int32_t XFChordCount = 0;
    std::int32_t XFChordTrack = -1;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> XFChords;  // (6th, 4th data byte)

    // Reader work members
    AByte FileImage;
    std::int32_t ReadPos = 0;

    // Transport state
    std::uint16_t CurrentBPM = 120;
    std::int32_t CurrentZone = 0;
    std::int32_t CurrentTick = 0;
    std::int32_t SongLengthMs = 0;  // the player's song length, set by ComputeEventTimes

    bool EditMode = false;
    bool RulesQuestionPending = false;
    bool LyricsRecorded = false;

    // Environment
    TConfiguration Config;
    std::string Language = "Englisch";  // "Deutsch" selects German texts
    bool BatchMode = false;             // the batch window is visible
    TUserDialogs* Dialogs = nullptr;    // nullptr: questions are answered No
    TPlayerLink* Player = nullptr;      // nullptr: no player to re-prime

    TUserDialogs& UserDialogs();
};

} // namespace lv
