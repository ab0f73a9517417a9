#pragma once
// The batch mode without its window: collects every ".mid" file below a main
// folder (breadth first, any case of the extension) and opens and writes each
// one, converts it, or notes whether it has lyrics ("Lyrics.txt"). The window
// (or the CLI) drives it through the callbacks and the cancel flag.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Song.h"

namespace lv {

enum class TBatchMode {
    Update,      // write back in the song's own format
    ConvertToF0, // write format 0 over the file
    ConvertToF1, // write format 1 over the file
    Search,      // lyrics census into "Lyrics.txt"
};

// What the progress window shows; every member may be left empty.
struct TBatchCallbacks {
    std::function<void(const std::string& caption)> Caption;
    std::function<void(int maximum)> Range;
    std::function<void(int position)> Position;
    std::function<void(bool enabled)> CancelEnabled;
    // Called after each folder entry and after opening each file: the place
    // where the window lets pending events run (the cancel button).
    std::function<void()> ProcessMessages;
    // Called when a file fails (the window stops the transport).
    std::function<void()> StopPlayback;
    // Called before each file with its index and path.
    std::function<void(int index, const std::string& path)> FileStarted;
    // Called after each file: true when it was handled without error.
    std::function<void(int index, const std::string& path, bool ok, const std::string& error)>
        FileDone;
};

struct TBatchResult {
    bool Ran = false; // false: no folder, or the controller-32 question stopped it
    int Found = 0;    // files found
    int Errors = 0;   // files that could not be opened or written
    bool Cancelled = false;
    std::string Report;              // the closing message
    std::vector<std::string> Failed; // paths of the files that failed
};

class TBatchRunner {
  public:
    explicit TBatchRunner(TSong& song) : Song(song) {}

    // Runs one batch over mainFolder. Shows the report through the song's
    // dialogs unless showReport is false.
    TBatchResult Run(TBatchMode mode, const std::string& mainFolder,
                     const TBatchCallbacks& callbacks = {}, bool showReport = true);

    // Set by the progress window's cancel button; the current file finishes.
    void Cancel() { CancelFlag = true; }
    bool Busy() const { return BusyFlag; }

    // Collects the ".mid" files below folder, breadth first; within a folder
    // subfolders and files are taken in name order.
    static std::vector<std::string> CollectFiles(const std::string& folder,
                                                 const TBatchCallbacks& callbacks = {},
                                                 const std::string& language = "");

    // Census lines of every search run of this runner ("name\ty" / "name\tn").
    std::vector<std::string> SearchResults;

  private:
    TSong& Song;
    std::atomic<bool> CancelFlag{false};
    std::atomic<bool> BusyFlag{false};
};

// Name of the census file written into the main folder.
inline constexpr const char* kCensusFileName = "Lyrics.txt";

} // namespace lv
