#pragma once
// Storing a file image without ever losing the old file: the bytes go to a
// temporary file in the target's folder, are flushed to disk, and only then
// replace the target in one rename. On any failure the temporary file is
// removed and the target keeps its old bytes and attributes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "model/Song.h"

namespace lv {

// Which writer stores: the messages differ slightly between them.
enum class TWriterKind { Format0, Format1Split, Format1AsIs };

enum class TSaveResult {
    Stored,
    ReadOnlyFailed, // the target is write-protected and that could not be lifted
    CannotStart,    // the temporary file could not be created
    ShortWrite,     // fewer bytes than the image holds reached the disk
    WriteError,     // an I/O error while writing, flushing, closing or replacing
};

struct TSaveOutcome {
    TSaveResult Result = TSaveResult::Stored;
    std::size_t Written = 0; // bytes that reached the temporary file
};

// The file operations storing goes through. Tests replace them to make a
// save fail part-way (a write that stops after N bytes, a failing flush or
// rename); the defaults are write(2), fsync(2), rename(2) and chmod(2).
struct TSaveHooks {
    std::function<long(int fd, const std::uint8_t* data, std::size_t size)> Write;
    std::function<int(int fd)> Sync;
    std::function<int(const std::string& from, const std::string& to)> Rename;
    std::function<int(const std::string& path, unsigned mode)> Chmod; // lifting write protection
};
// Installs hooks (empty members keep the defaults); returns the previous ones.
TSaveHooks SetSaveHooks(TSaveHooks hooks);

// Stores image at target, without messages.
TSaveOutcome StoreFileImage(const std::string& target, const AByte& image);

// Stores image at target and shows the writer's message for a failure through
// song.UserDialogs() (caption "Achtung" / "Warning"). Returns true on success.
bool SaveFileImage(TSong& song, const std::string& target, const AByte& image, TWriterKind kind);

} // namespace lv
