#include "SongIo.h"

#include "model/OpenSong.h"
#include "writer/Writer.h"

namespace lv::cli {

TCliSong::TCliSong(const TSongOptions& options, const std::string& path)
    : Dialogs(options.AnswerYes) {
    ApplySongOptions(options, Song);
    Song.Dialogs = &Dialogs;
    OpenSong(Song, path);
}

int WriteInSourceFormat(TSong& song, const std::string& path) {
    const bool stored =
        song.SourceFormat == 0 ? WriteFormat0File(song, path) : WriteFormat1File(song, path);
    FreeSong(song);
    return stored ? 0 : 1;
}

} // namespace lv::cli
