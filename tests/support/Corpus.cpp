#include "Corpus.h"

#include <algorithm>
#include <filesystem>

#include "CliRun.h"

namespace lvtest {

std::vector<std::string> CorpusFiles(const std::vector<std::string>& extensions) {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::recursive_directory_iterator(LV_CORPUS_DIR, ec)) {
        const auto ext = e.path().extension().string();
        if (e.is_regular_file() &&
            std::find(extensions.begin(), extensions.end(), ext) != extensions.end())
            files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string RunMidoScript(const std::string& script, const std::vector<std::string>& files,
                          const std::string& redirect) {
    std::string cmd = "/usr/bin/python3 " + ShellQuote(std::string(LV_SOURCE_DIR) + "/" + script);
    if (!redirect.empty()) cmd += " " + redirect;
    for (const auto& f : files)
        cmd += " " + ShellQuote(f);
    return RunShell(cmd).Out;
}

} // namespace lvtest
