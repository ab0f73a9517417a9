// lyrivox-cli convert --format 0|1 IN OUT: open a song and write it in the
// chosen format.
#include <cstdio>
#include <stdexcept>

#include "CliCommand.h"
#include "SongIo.h"
#include "model/OpenSong.h"
#include "writer/Writer.h"

namespace lv::cli {

static int RunConvert(std::vector<std::string> args) {
    const TSongOptions options = ParseSongOptions(args);
    std::string format;
    if (!TakeOption(args, "--format", format) || (format != "0" && format != "1") ||
        args.size() != 2) {
        std::fprintf(stderr, "usage: lyrivox-cli convert --format 0|1 IN OUT [options]\n%s",
                     SongOptionsUsage().c_str());
        return 2;
    }
    TCliSong opened(options, args[0]);
    TSong& song = opened.Song;
    const bool stored =
        format == "0" ? WriteFormat0File(song, args[1]) : WriteFormat1File(song, args[1]);
    FreeSong(song);
    return stored ? 0 : 1;
}

static const TCliRegistration reg{
    {"convert", "convert --format 0|1 IN OUT   write a song as SMF format 0 or 1", RunConvert}};

} // namespace lv::cli
