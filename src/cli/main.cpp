// lyrivox-cli: the program's core without a window.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "SongOptions.h"

namespace lv::cli {
std::vector<TCliCommand>& CliCommands() {
    static std::vector<TCliCommand> commands;
    return commands;
}
} // namespace lv::cli

static void PrintUsage(FILE* out) {
    std::fprintf(out, "usage: lyrivox-cli COMMAND [ARGS]\n\ncommands:\n");
    for (const auto& c : lv::cli::CliCommands()) std::fprintf(out, "  %s\n", c.Usage.c_str());
    std::fprintf(out, "\noptions of the song commands:\n%s", lv::cli::SongOptionsUsage().c_str());
}

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        PrintUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const std::string name = argv[1];
    for (const auto& c : lv::cli::CliCommands()) {
        if (c.Name != name) continue;
        try {
            return c.Run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "lyrivox-cli %s: %s\n", name.c_str(), e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "lyrivox-cli: unknown command \"%s\"\n\n", name.c_str());
    PrintUsage(stderr);
    return 2;
}
