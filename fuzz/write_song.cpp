// Whatever the reader accepts from arbitrary bytes is written as format 0 and
// format 1 in memory and read again; nothing may crash or trip a sanitizer.
// LV_FUZZ_SEED_CORPUS_MIDI
#include <cstddef>
#include <cstdint>
#include <exception>

#include "model/OpenSong.h"
#include "writer/Writer.h"

namespace {

bool Open(lv::TSong& song, lv::AByte image) {
    try {
        lv::OpenSongFromImage(song, std::move(image), "fuzz.mid");
        return song.SongLoaded;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) return 0;
    lv::TSong song;
    if (!Open(song, lv::AByte(data, data + size))) return 0;
    for (int format : {0, 1}) {
        lv::AByte out;
        try {
            out =
                format == 0 ? lv::BuildFormat0Image(song, "fuzz.mid") : lv::BuildFormat1Image(song);
        } catch (const std::exception&) {
            continue; // an event that cannot be coded: a clear error, nothing written
        }
        lv::TSong again;
        Open(again, std::move(out));
        if (again.SongLoaded) {
            try {
                (void)lv::BuildFormat0Image(again, "again.mid");
                (void)lv::BuildFormat1Image(again);
            } catch (const std::exception&) {
            }
        }
    }
    return 0;
}
