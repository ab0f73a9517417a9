#pragma once
// Running a command line as a script does: its standard output and exit
// status. The CLI tests pass LV_CLI_PATH in, as only they know it.
#include <string>

namespace lvtest {

struct TRun {
    int Exit = -1; // -1 when the command did not start or did not exit normally
    std::string Out;
};

// Runs cmd through the shell; standard error goes where cmd sends it.
TRun RunShell(const std::string& cmd);
// Runs "cli args" with standard error dropped.
TRun RunCli(const std::string& cli, const std::string& args);

// A whole file as text, and text as a whole file (bytes unchanged).
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

} // namespace lvtest
