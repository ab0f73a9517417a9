// lyrivox-cli save FILE: open a song and write it back over itself in its own
// format, as the batch update does for every file.
#include <cstdio>

#include "CliCommand.h"
#include "SongIo.h"
#include "model/OpenSong.h"
#include "writer/Writer.h"

namespace lv::cli {

static int RunSave(std::vector<std::string> args) {
    const TSongOptions options = ParseSongOptions(args);
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: lyrivox-cli save FILE [options]\n%s",
                     SongOptionsUsage().c_str());
        return 2;
    }
    TCliSong opened(options, args[0]);
    TSong& song = opened.Song;
    // Format 1 stays format 1; formats 0 and 2 are written as format 0, as the batch update does.
    const bool stored =
        song.SourceFormat == 1 ? WriteFormat1File(song, args[0]) : WriteFormat0File(song, args[0]);
    FreeSong(song);
    return stored ? 0 : 1;
}

static const TCliRegistration reg{
    {"save", "save FILE   open a song and write it back in its own format", RunSave}};

} // namespace lv::cli
