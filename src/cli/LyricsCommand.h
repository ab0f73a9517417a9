#pragma once
// "lyrivox-cli lyrics SUB ..." — each subcommand registers itself here, one file each:
//   static const lv::cli::TLyricsRegistration reg{{"link", "link FILE [-o OUT]", RunLink}};
#include <functional>
#include <string>
#include <vector>

namespace lv::cli {

struct TLyricsSubcommand {
    std::string Name;
    std::string Usage;
    std::function<int(std::vector<std::string> args)> Run; // args after the subcommand name
};

std::vector<TLyricsSubcommand>& LyricsSubcommands();

// run, with a bad option value (std::invalid_argument) told on stderr and
// answered by showUsage(usage), which returns the exit code.
std::function<int(std::vector<std::string>)> GuardedLyrics(int (*run)(std::vector<std::string>),
                                                           const char* usage,
                                                           int (*showUsage)(const char* usage));

struct TLyricsRegistration {
    explicit TLyricsRegistration(TLyricsSubcommand sub) {
        LyricsSubcommands().push_back(std::move(sub));
    }
};

} // namespace lv::cli
