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
    std::function<int(std::vector<std::string> args)> Run;  // args after the subcommand name
};

std::vector<TLyricsSubcommand>& LyricsSubcommands();

struct TLyricsRegistration {
    explicit TLyricsRegistration(TLyricsSubcommand sub) {
        LyricsSubcommands().push_back(std::move(sub));
    }
};

} // namespace lv::cli
