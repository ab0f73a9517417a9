// lyrivox-cli batch update|f0|f1|census FOLDER: the batch mode over every
// ".mid" file below FOLDER, with a progress line on a terminal, the report at
// the end and exit status 1 when files could not be processed.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "CliCommand.h"
#include "SongOptions.h"
#include "batch/BatchRunner.h"

namespace lv::cli {

namespace {

TBatchRunner* gRunner = nullptr;

// Ctrl+C cancels like the progress window's button: the current file finishes.
extern "C" void OnInterrupt(int) {
    if (gRunner) gRunner->Cancel();
}

std::string CrToNewline(std::string s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

static int RunBatch(std::vector<std::string> args) {
    const TSongOptions options = ParseSongOptions(args);
    const bool quiet = TakeFlag(args, "--quiet");
    TBatchMode mode = TBatchMode::Update;
    bool known = args.size() == 2;
    if (known) {
        if (args[0] == "update")
            mode = TBatchMode::Update;
        else if (args[0] == "f0")
            mode = TBatchMode::ConvertToF0;
        else if (args[0] == "f1")
            mode = TBatchMode::ConvertToF1;
        else if (args[0] == "census")
            mode = TBatchMode::Search;
        else
            known = false;
    }
    if (!known) {
        std::fprintf(stderr,
                     "usage: lyrivox-cli batch update|f0|f1|census FOLDER [--quiet] [options]\n%s",
                     SongOptionsUsage().c_str());
        return 2;
    }

    std::error_code ec;
    if (!std::filesystem::is_directory(args[1], ec)) {
        std::fprintf(stderr, "lyrivox-cli batch: \"%s\" is no folder\n", args[1].c_str());
        return 2;
    }
    TCliDialogs dialogs(options.AnswerYes);
    TSong song;
    ApplySongOptions(options, song);
    song.Dialogs = &dialogs;
    TBatchRunner runner(song);
    gRunner = &runner;
    std::signal(SIGINT, OnInterrupt);

    const bool terminal = !quiet && ::isatty(STDERR_FILENO);
    TBatchCallbacks cb;
    int total = 0;
    cb.Range = [&](int n) { total = n; };
    if (terminal) {
        cb.FileStarted = [&](int i, const std::string& path) {
            std::fprintf(stderr, "\r\033[K[%d/%d] %s", i + 1, total, path.c_str());
            std::fflush(stderr);
        };
    }
    cb.FileDone = [&](int, const std::string& path, bool ok, const std::string& error) {
        if (ok) return;
        if (terminal) std::fprintf(stderr, "\r\033[K");
        std::fprintf(stderr, "failed: %s: %s\n", path.c_str(), CrToNewline(error).c_str());
    };
    const TBatchResult r = runner.Run(mode, args[1], cb, false);
    if (terminal) std::fprintf(stderr, "\r\033[K");
    std::signal(SIGINT, SIG_DFL);
    gRunner = nullptr;
    if (!r.Ran) return 1;
    std::printf("%s\n", CrToNewline(r.Report).c_str());
    return (r.Errors > 0 || r.Cancelled) ? 1 : 0;
}

static const TCliRegistration reg{
    {"batch", "batch update|f0|f1|census FOLDER   process every .mid file below FOLDER", RunBatch}};

} // namespace lv::cli
