#pragma once
// Subcommands of lyrivox-cli register themselves here, one file each:
//   static const lv::cli::TCliRegistration reg{{"info", "info FILE [--json] [--events]", RunInfo}};
#include <functional>
#include <string>
#include <vector>

namespace lv::cli {

struct TCliCommand {
    std::string Name;
    std::string Usage;  // one line, shown by "lyrivox-cli help"
    std::function<int(std::vector<std::string> args)> Run;  // args after the subcommand name
};

std::vector<TCliCommand>& CliCommands();

struct TCliRegistration {
    explicit TCliRegistration(TCliCommand command) { CliCommands().push_back(std::move(command)); }
};

} // namespace lv::cli
