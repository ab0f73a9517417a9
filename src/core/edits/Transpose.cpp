#include "edits/Transpose.h"

#include <algorithm>
#include <iterator>

#include "playback/MidiPlayer.h"

namespace lv {

namespace {

constexpr std::array<const char*, 12> kFlatNames{"C",  "Db", "D",  "Eb", "E",  "F",
                                                 "Gb", "G",  "Ab", "A",  "Bb", "B"};
constexpr std::array<const char*, 12> kSharpNames{"C",  "C#", "D",  "D#", "E",  "F",
                                                  "F#", "G",  "G#", "A",  "A#", "B"};

bool IsNote(const TMidiEvent& e) {
    return e.Kind == 1 && e.Status >= 0x80 && e.Status <= 0x9F;
}

// Whole octaves into 0..127. Notes as read are 0..127 and intervals small, so
// this is at most one or two octaves; it also keeps a bass note from rising
// above the top of the range.
int FoldIntoRange(int n) {
    while (n > 127)
        n -= 12;
    while (n < 0)
        n += 12;
    return n;
}

int PlainNote(int orig, int v) {
    const int n = orig + v;
    if (n >= 0 && n <= 127) return n;
    if (n + 12 >= 0 && n + 12 <= 127) return n + 12;
    if (n - 12 >= 0 && n - 12 <= 127) return n - 12;
    return FoldIntoRange(n);
}

int BassNote(int orig, int v) {
    const int n = orig + v;
    int r = n >= 28 ? n : (n + 12 >= 28 ? n + 12 : n + 24);
    while (r > 127)
        r -= 12; // stays at 28 or above: 128 - 12 > 28
    return r;
}

int ModeIndex(int mode) {
    return (mode >= 1 && mode <= 4) ? mode - 1 : 0;
}

int LetterNumber(char c) {
    switch (c) {
    case 'C':
        return 1;
    case 'D':
        return 2;
    case 'E':
        return 3;
    case 'F':
        return 4;
    case 'G':
        return 5;
    case 'A':
        return 6;
    case 'B':
        return 7;
    default:
        return 1;
    }
}

int FindName(const std::array<const char*, 12>& table, const std::string& name) {
    for (int k = 0; k < 12; ++k)
        if (name == table[static_cast<std::size_t>(k)]) return k;
    return -1;
}

bool IsXFChord(const TMidiEvent& e) {
    return e.Status == 0xFF && e.Length == 7 && e.Kind == 2 && e.MetaType == 0x7F &&
           e.Data.size() >= 7 && static_cast<std::uint8_t>(e.Data[0]) == 0x43 &&
           static_cast<std::uint8_t>(e.Data[1]) == 0x7B &&
           static_cast<std::uint8_t>(e.Data[2]) == 0x01;
}

} // namespace

int IntelligentInterval(int interval, int mode, int channel) {
    const int limit = kTransposeModeLimits[static_cast<std::size_t>(ModeIndex(mode))]
                                          [static_cast<std::size_t>(channel & 15)];
    int w = interval;
    if (w > limit) w -= 12;
    if (w < -limit) w += 12; // a flip down that still goes too far is undone
    return w;
}

std::string ChordByteName(std::uint8_t stored) {
    static constexpr char kLetters[] = "CDEFGAB";
    const int low = stored & 0x0F;
    std::string name(1, (low >= 1 && low <= 7) ? kLetters[low - 1] : 'C');
    const int high = stored >> 4;
    if (high == 2) name += 'b';
    if (high == 4) name += '#';
    return name;
}

std::uint8_t TransposeChordByte(std::uint8_t stored, int interval) {
    if (stored >= 0x7F) return stored;
    const std::string name = ChordByteName(stored);
    const auto shifted = [interval](int k) {
        return static_cast<std::size_t>(((k + interval) % 12 + 12) % 12);
    };
    std::string result;
    if (int k = FindName(kFlatNames, name); k >= 0)
        result = kFlatNames[shifted(k)];
    else if (int s = FindName(kSharpNames, name); s >= 0)
        result = kSharpNames[shifted(s)];
    else
        return stored; // E#, Cb and the like
    int bits = 0x30;
    if (result.size() > 1 && result[1] == 'b') bits = 0x20;
    if (result.size() > 1 && result[1] == '#') bits = 0x40;
    return static_cast<std::uint8_t>(bits + LetterNumber(result[0]));
}

void TransposeXFChords(TSong& song, int interval) {
    const int trackIndex = song.XFChordTrack;
    if (trackIndex < 0 || trackIndex > song.TrackCount ||
        static_cast<std::size_t>(trackIndex) >= song.Tracks.size())
        return;
    auto& track = song.Tracks[static_cast<std::size_t>(trackIndex)];
    if (!track.HasHead()) return;
    const auto chords = static_cast<std::size_t>(
        std::count_if(track.Events.begin(), track.Events.end(), IsXFChord));
    if (chords == 0 || song.XFChords.size() < chords)
        return; // the stored bytes must cover every chord
    std::size_t i = 0;
    for (auto& e : track.Events) {
        if (!IsXFChord(e)) continue;
        const auto [bass, root] = song.XFChords[i++];
        if (root < 0x7F) e.Data[3] = static_cast<char>(TransposeChordByte(root, interval));
        if (bass < 0x7F) e.Data[5] = static_cast<char>(TransposeChordByte(bass, interval));
    }
}

void TransposeSong(TSong& song, int interval, bool intelligent, int mode) {
    if (!song.SongLoaded) return;
    const std::size_t fileTracks = std::min<std::size_t>(song.TrackCount, song.Tracks.size());
    if (!intelligent) {
        for (std::size_t t = 0; t < fileTracks; ++t) {
            auto& events = song.Tracks[t].Events;
            if (events.empty()) continue;
            for (auto it = std::next(events.begin()); it != events.end(); ++it) {
                if (!IsNote(*it) || it->Channel() == 9) continue;
                it->Data1 = static_cast<std::uint8_t>(PlainNote(it->OrigData1, interval));
            }
        }
    } else {
        // Every list, the lyrics and prompter tracks included, head to the event
        // before the end-of-track.
        for (auto& track : song.Tracks) {
            auto& events = track.Events;
            if (events.empty()) continue;
            const auto last = std::prev(events.end());
            for (auto it = events.begin(); it != last; ++it) {
                if (!IsNote(*it)) continue;
                const int c = it->Channel();
                if (c == 9) continue;
                if (song.BassChannels[static_cast<std::size_t>(c)])
                    it->Data1 = static_cast<std::uint8_t>(BassNote(it->OrigData1, interval));
                else
                    it->Data1 = static_cast<std::uint8_t>(
                        FoldIntoRange(it->OrigData1 + IntelligentInterval(interval, mode, c)));
            }
        }
    }
    TransposeXFChords(song, interval);
}

void TransposeWithPlayer(TSong& song, TMidiPlayer* player, int interval, bool intelligent,
                         int mode) {
    if (!song.SongLoaded) return;
    const bool wasPlaying = player && player->IsPlaying();
    if (wasPlaying) player->Stop(); // pause: the player thread must not read half-changed notes
    TransposeSong(song, interval, intelligent, mode);
    if (wasPlaying) player->Start();
}

} // namespace lv
