// lyrivox-cli hyphenate --lang de|en|fr|it|es [FILE]: the editor's hyphenation
// pass over a lyric text file (or standard input), printed to standard output.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "lyrics/EditorText.h"
#include "lyrics/Hyphen.h"
#include "lyrics/HyphenDialog.h"

namespace lv::cli {

namespace {

constexpr const char* kUsage = "hyphenate --lang de|en|fr|it|es [FILE]";

// The pattern files lie beside the program; a development build falls back to
// the ones in the source tree.
std::string FindPatternDirectory(const std::string& fileName) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && fs::exists(exe.parent_path() / fileName, ec)) return exe.parent_path().string();
#ifdef LV_HYPHEN_DATA_DIR
    if (fs::exists(fs::path(LV_HYPHEN_DATA_DIR) / fileName, ec)) return LV_HYPHEN_DATA_DIR;
#endif
    return ec ? std::string(".") : exe.parent_path().string();
}

int RunHyphenate(std::vector<std::string> args) {
    std::string lang, file;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lang" && i + 1 < args.size()) {
            lang = args[++i];
        } else if (args[i].rfind("--lang=", 0) == 0) {
            lang = args[i].substr(7);
        } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
            file = args[i];
        } else {
            std::fprintf(stderr, "usage: lyrivox-cli %s\n", kUsage);
            return 2;
        }
    }
    THyphenLanguage language;
    if (!ParseHyphenLanguage(lang, language)) {
        std::fprintf(stderr, "usage: lyrivox-cli %s\n", kUsage);
        return 2;
    }

    std::string text;
    if (file.empty()) {
        text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "lyrivox-cli hyphenate: cannot read \"%s\"\n", file.c_str());
            return 1;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    TEditorText editor;
    editor.SetText(text);
    SetPatternDirectory(FindPatternDirectory(PatternFileName(language)));
    HyphenationOk(language, editor.Lines, "English"); // throws before any output

    const std::string lineEnd = text.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    std::string out;
    for (std::size_t i = 0; i < editor.Lines.size(); ++i) {
        if (i) out += lineEnd;
        out += editor.Lines[i];
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

const TCliRegistration reg{{"hyphenate", kUsage, RunHyphenate}};

} // namespace

} // namespace lv::cli
