// Writes the demo song: "Twinkle, Twinkle, Little Star" with timed lyrics.
// Usage: lyrivox-demo-song OUT.mid
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "SmfBuilder.h"

namespace {

constexpr int kDivision = 480;
constexpr int kQuarter = kDivision;
constexpr int kBar = 4 * kQuarter;
constexpr int kMelodyStart = kBar; // one bar of bass before the singing starts
constexpr int kMelodyChannel = 0;  // channel 1
constexpr int kBassChannel = 1;    // channel 2

struct TNote {
    int Key;
    int Beats; // 1 = quarter, 2 = half
    const char* Syllable;
};

constexpr int C4 = 60, D4 = 62, E4 = 64, F4 = 65, G4 = 67, A4 = 69;

// One line of the song per entry; the last syllable of a line is followed by
// a line break.
const std::vector<TNote> kTwinkle = {{C4, 1, "Twin"},  {C4, 1, "kle, "}, {G4, 1, "twin"},
                                     {G4, 1, "kle, "}, {A4, 1, "lit"},   {A4, 1, "tle "},
                                     {G4, 2, "star,"}};
const std::vector<TNote> kWonder = {{F4, 1, "how "}, {F4, 1, "I "},    {E4, 1, "won"},
                                    {E4, 1, "der "}, {D4, 1, "what "}, {D4, 1, "you "},
                                    {C4, 2, "are!"}};
const std::vector<TNote> kUpAbove = {{G4, 1, "Up "},  {G4, 1, "a"},      {F4, 1, "bove "},
                                     {F4, 1, "the "}, {E4, 1, "world "}, {E4, 1, "so "},
                                     {D4, 2, "high,"}};
const std::vector<TNote> kDiamond = {{G4, 1, "like "}, {G4, 1, "a "},  {F4, 1, "dia"},
                                     {F4, 1, "mond "}, {E4, 1, "in "}, {E4, 1, "the "},
                                     {D4, 2, "sky."}};
// The first two lines come back at the end.
const std::vector<std::vector<TNote>> kLines = {kTwinkle, kWonder,  kUpAbove,
                                                kDiamond, kTwinkle, kWonder};

// Bass roots, one per half bar, two bars per line.
const std::vector<std::vector<int>> kBassRoots = {
    {48, 48, 53, 48}, {53, 48, 43, 48}, {48, 53, 48, 43},
    {48, 53, 48, 43}, {48, 48, 53, 48}, {53, 48, 43, 48},
};

// Events of one track by absolute tick; the builder takes deltas.
class TTimeline {
  public:
    explicit TTimeline(lvtest::TTrackBuilder& track) : Track(track) {}
    std::uint32_t At(int tick) {
        const auto delta = static_cast<std::uint32_t>(tick - Now);
        Now = tick;
        return delta;
    }
    lvtest::TTrackBuilder& Track;
    int Now = 0;
};

lv::AByte BuildDemoSong() {
    lvtest::TSmfBuilder smf(1, kDivision);

    auto& conductor = smf.AddTrack();
    conductor.Name(0, "Twinkle, Twinkle, Little Star");
    conductor.TimeSig(0, 4, 2, 24, 8);
    conductor.Meta(0, 0x59, std::string("\x00\x00", 2)); // C major
    conductor.Tempo(0, 600000);                          // 100 BPM
    const int songEnd = kMelodyStart + static_cast<int>(kLines.size()) * 2 * kBar;
    conductor.EndOfTrack(static_cast<std::uint32_t>(songEnd));

    auto& melodyTrack = smf.AddTrack();
    TTimeline melody(melodyTrack);
    melodyTrack.Name(0, "Melody");
    melodyTrack.Program(0, kMelodyChannel, 73); // flute
    // Title line at 108/112, the performer line just before the first syllable.
    melodyTrack.Lyric(melody.At(108), "Twinkle, Twinkle, Little Star");
    melodyTrack.Lyric(melody.At(112), "\r");
    melodyTrack.Lyric(melody.At(kMelodyStart - 8), "Traditional, words by Jane Taylor");
    melodyTrack.Lyric(melody.At(kMelodyStart - 4), "\r");
    int tick = kMelodyStart;
    for (const auto& line : kLines) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            const TNote& n = line[i];
            const int length = n.Beats * kQuarter;
            melodyTrack.Lyric(melody.At(tick), n.Syllable);
            melodyTrack.NoteOn(melody.At(tick), kMelodyChannel, n.Key, 96);
            if (i + 1 == line.size()) {
                // The line break comes while the last note still sounds.
                melodyTrack.Lyric(melody.At(tick + length / 2), "\r");
            }
            melodyTrack.NoteOff(melody.At(tick + length - 40), kMelodyChannel, n.Key, 64);
            tick += length;
        }
    }
    melodyTrack.EndOfTrack(melody.At(songEnd));

    auto& bassTrack = smf.AddTrack();
    TTimeline bass(bassTrack);
    bassTrack.Name(0, "Bass");
    bassTrack.Program(0, kBassChannel, 32); // acoustic bass
    // One bar before the melody: the tonic, as a count-in.
    bassTrack.NoteOn(bass.At(0), kBassChannel, 48, 80);
    bassTrack.NoteOff(bass.At(kBar - 40), kBassChannel, 48, 64);
    tick = kMelodyStart;
    for (const auto& roots : kBassRoots) {
        for (int root : roots) {
            bassTrack.NoteOn(bass.At(tick), kBassChannel, root, 80);
            bassTrack.NoteOff(bass.At(tick + 2 * kQuarter - 40), kBassChannel, root, 64);
            tick += 2 * kQuarter;
        }
    }
    bassTrack.EndOfTrack(bass.At(songEnd));
    return smf.Build();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lyrivox-demo-song OUT.mid\n");
        return 2;
    }
    try {
        lvtest::WriteFileBytes(argv[1], BuildDemoSong());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lyrivox-demo-song: %s\n", e.what());
        return 1;
    }
    return 0;
}
