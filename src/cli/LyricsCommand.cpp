#include "LyricsCommand.h"

#include <cstdio>
#include <stdexcept>

#include "CliCommand.h"

namespace lv::cli {

std::vector<TLyricsSubcommand>& LyricsSubcommands() {
    static std::vector<TLyricsSubcommand> subs;
    return subs;
}

std::function<int(std::vector<std::string>)> GuardedLyrics(int (*run)(std::vector<std::string>),
                                                           const char* usage,
                                                           int (*showUsage)(const char* usage)) {
    return [run, usage, showUsage](std::vector<std::string> args) {
        try {
            return run(std::move(args));
        } catch (const std::invalid_argument& e) {
            std::fprintf(stderr, "lyrivox-cli lyrics: %s\n", e.what());
            return showUsage(usage);
        }
    };
}

static int RunLyrics(std::vector<std::string> args) {
    if (args.empty()) {
        std::fprintf(stderr, "usage: lyrivox-cli lyrics SUBCOMMAND ...\n");
        for (const auto& s : LyricsSubcommands()) std::fprintf(stderr, "  lyrics %s\n", s.Usage.c_str());
        return 2;
    }
    const std::string name = args.front();
    args.erase(args.begin());
    for (const auto& s : LyricsSubcommands())
        if (s.Name == name) return s.Run(std::move(args));
    std::fprintf(stderr, "lyrivox-cli lyrics: unknown subcommand \"%s\"\n", name.c_str());
    return 2;
}

static const TCliRegistration reg{{"lyrics", "lyrics SUBCOMMAND ... (lyrivox-cli lyrics for the list)", RunLyrics}};

} // namespace lv::cli
