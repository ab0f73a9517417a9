// Opens arbitrary bytes as a song with the whole open pipeline. A bad file may
// only end in EMidiError or ERangeError; any other exception, a crash or a
// sanitizer report is a finding. The first byte picks the settings that change
// reading, so every path of the reader is reached.
// LV_FUZZ_SEED_CORPUS_MIDI LV_FUZZ_LONG
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "model/Errors.h"
#include "model/OpenSong.h"

namespace {

class TScriptedDialogs : public lv::TUserDialogs {
  public:
    explicit TScriptedDialogs(bool yes) : Yes(yes) {}
    void Message(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return Yes; }
    bool Yes;
};

void Open(lv::TSong& song, const std::uint8_t* data, std::size_t size) {
    try {
        lv::OpenSongFromImage(song, lv::AByte(data, data + size), "fuzz.mid");
    } catch (const lv::EMidiError&) {
    } catch (const lv::ERangeError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 17) return 0;
    const std::uint8_t mode = size > 0 ? data[0] : 0;
    lv::TSong song;
    song.Config.PrevCommandMode = mode & 1;
    song.Config.InsertController32 = mode & 2;
    song.Config.DeleteController32 = mode & 4;
    song.Config.SufflorEnabled = mode & 8;
    song.Config.DoNotChangeController32 = mode & 16;
    song.Config.PlaybackSpeed = (mode >> 5) % 6;
    song.Config.MelodyTrack = mode & 15;
    song.Config.Controller32Value = mode;
    song.Language = (mode & 64) ? "Deutsch" : "English";
    TScriptedDialogs dialogs(mode & 128);
    song.Dialogs = &dialogs;

    // The whole input as a file, then once more into the same song, which
    // first releases the previous one.
    Open(song, data, size);
    if (size > 1) Open(song, data + 1, size - 1);
    return 0;
}
