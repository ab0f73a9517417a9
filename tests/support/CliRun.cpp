#include "CliRun.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace lvtest {

TRun RunShell(const std::string& cmd) {
    TRun r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.Out.append(buf, n);
    const int status = ::pclose(p);
    r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TRun RunCli(const std::string& cli, const std::string& args) {
    return RunShell(cli + " " + args + " 2>/dev/null");
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace lvtest
