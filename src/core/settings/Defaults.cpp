#include "settings/Defaults.h"

namespace lv {

std::string LowerCaseAscii(std::string text) {
    for (auto& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string SourceFolderKey(const std::string& folder) {
#ifdef _WIN32
    return LowerCaseAscii(folder);
#else
    return folder;
#endif
}

TConfiguration DefaultConfiguration(const std::string& programFolder) {
    TConfiguration c;
    c.LastMidiPathDest = programFolder;
    c.LastMidiPathSource = SourceFolderKey(programFolder);
    c.LastTextPath = programFolder;
    return c;
}

} // namespace lv
