#pragma once
// Opening a song for a command and writing it back: the steps every song
// command shares.
#include <string>

#include "SongOptions.h"
#include "model/Song.h"

namespace lv::cli {

// A song opened with the shared options; its messages go through Dialogs.
// It stays where it was made, as the song points at its dialogs.
struct TCliSong {
    TCliSong(const TSongOptions& options, const std::string& path);
    TCliSong(const TCliSong&) = delete;
    TCliSong& operator=(const TCliSong&) = delete;

    TCliDialogs Dialogs;
    TSong Song;
};

// Writes the song to path in its own format (format 0 stays format 0; a
// format-2 song was read like format 1 and is written as one), then frees it.
// Returns the exit code: 0 when stored, 1 otherwise.
int WriteInSourceFormat(TSong& song, const std::string& path);

} // namespace lv::cli
