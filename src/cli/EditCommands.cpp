// lyrivox-cli tempo FILE DELTA and transpose FILE SEMITONES [--intelligent MODE]:
// edit a song and write it back in its own format (or to --out PATH).
#include <cstdio>
#include <stdexcept>

#include "CliCommand.h"
#include "SongIo.h"
#include "edits/TempoChange.h"
#include "edits/Transpose.h"

namespace lv::cli {

namespace {

bool ParseInt(const std::string& text, int low, int high, int& value) {
    std::size_t used = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        return false;
    }
    return used == text.size() && value >= low && value <= high;
}

int RunTempo(std::vector<std::string> args) {
    const TSongOptions options = ParseSongOptions(args);
    std::string outPath;
    const bool hasOut = TakeOption(args, "--out", outPath);
    int delta = 0;
    if (args.size() != 2 ||
        !ParseInt(args[1], -kTempoDifferenceLimit, kTempoDifferenceLimit, delta)) {
        std::fprintf(stderr,
                     "usage: lyrivox-cli tempo FILE DELTA [--out PATH] [options]\n"
                     "  DELTA: beats per minute, -40 .. +40\n%s",
                     SongOptionsUsage().c_str());
        return 2;
    }
    TCliSong opened(options, args[0]);
    TSong& song = opened.Song;
    TTempoDialogState state;
    state.Displayed = static_cast<std::int16_t>(delta);
    ApplyTempoDifference(song, state, nullptr);
    return WriteInSourceFormat(song, hasOut ? outPath : args[0]);
}

int RunTranspose(std::vector<std::string> args) {
    const TSongOptions options = ParseSongOptions(args);
    std::string outPath, modeText;
    const bool hasOut = TakeOption(args, "--out", outPath);
    const bool intelligent = TakeOption(args, "--intelligent", modeText);
    int semitones = 0, mode = 1;
    if (args.size() != 2 || !ParseInt(args[1], -kTransposeLimit, kTransposeLimit, semitones) ||
        (intelligent && !ParseInt(modeText, 1, 4, mode))) {
        std::fprintf(stderr,
                     "usage: lyrivox-cli transpose FILE SEMITONES [--intelligent MODE] [--out "
                     "PATH] [options]\n"
                     "  SEMITONES: -9 .. +9; MODE: 1 .. 4\n%s",
                     SongOptionsUsage().c_str());
        return 2;
    }
    TCliSong opened(options, args[0]);
    TSong& song = opened.Song;
    TransposeSong(song, semitones, intelligent, mode);
    return WriteInSourceFormat(song, hasOut ? outPath : args[0]);
}

const TCliRegistration regTempo{
    {"tempo", "tempo FILE DELTA [--out PATH]   shift every tempo by DELTA beats per minute",
     RunTempo}};
const TCliRegistration regTranspose{
    {"transpose",
     "transpose FILE SEMITONES [--intelligent MODE] [--out PATH]   transpose the notes",
     RunTranspose}};

} // namespace

} // namespace lv::cli
