// lyrivox-cli lyrics export|import: the lyric text of a song out to a text
// file and a text file in as the song's lyrics. Import keeps the ticks of
// unchanged syllables, as finishing an edit in the window does, and writes
// the song back in its own format (or to -o OUT).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>

#include "LyricsCommand.h"
#include "SongIo.h"
#include "lyrics/TextEditing.h"
#include "lyrics/TextImport.h"
#include "platform/Converter.h"

namespace lv::cli {

namespace {

const char* const kExportUsage =
    "export FILE [TEXT]   the lyrics in the lyric text format (default: stdout)";
const char* const kImportUsage = "import FILE TEXT [-o OUT]   the lyrics from a text file "
                                 "(.txt, .rtf, or an office document when a converter is "
                                 "installed); unchanged syllables keep their times";

int Usage(const char* usage) {
    std::fprintf(stderr,
                 "usage: lyrivox-cli lyrics %s\n  -o OUT (import)          write the "
                 "song to OUT instead of over FILE\n%s",
                 usage, SongOptionsUsage().c_str());
    return 2;
}

// Options out of args; the words that are left.
std::vector<std::string> Words(std::vector<std::string>& args, TSongOptions& options,
                               std::string* out) {
    options = ParseSongOptions(args);
    if (out) TakeOption(args, "-o", *out);
    for (const auto& a : args)
        if (a.size() > 1 && a[0] == '-') throw std::invalid_argument("unknown option " + a);
    return args;
}

// The rules of the lyric text format are the contract of this command: the
// question is answered Yes without asking; messages still reach stderr.
class TRulesAccepted : public TUserDialogs {
  public:
    explicit TRulesAccepted(TUserDialogs& messages) : Messages(messages) {}
    void Message(const std::string& text, const std::string& caption) override {
        Messages.Message(text, caption);
    }
    bool AskYesNo(const std::string&, const std::string&) override { return true; }
    TUserDialogs& Messages;
};

std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

// The load dialog's filter index for a file: plain text, RTF, or the first
// converter that reads the extension.
int FilterIndexFor(const std::string& path, const TOfficeConverter& converter) {
    const std::string ext = LowerExtension(path);
    if (ext == ".rtf") return int(TTextFileKind::Rtf);
    if (ext.empty() || ext == ".txt") return int(TTextFileKind::Plain);
    const auto filters = converter.ImportFilters();
    for (std::size_t i = 0; i < filters.size(); ++i) {
        std::string patterns = filters[i].Patterns + ";";
        std::transform(patterns.begin(), patterns.end(), patterns.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (patterns.find("*" + ext + ";") != std::string::npos) return int(i) + 3;
    }
    return int(TTextFileKind::Plain);
}

int RunExport(std::vector<std::string> args) {
    TSongOptions options;
    const auto words = Words(args, options, nullptr);
    if (words.empty() || words.size() > 2) return Usage(kExportUsage);
    TCliSong opened(options, words[0]);
    TSong& song = opened.Song;
    if (song.SyllableCount <= 0) {
        std::fprintf(stderr, "lyrivox-cli lyrics export: \"%s\" has no lyrics\n", words[0].c_str());
        return 1;
    }
    if (words.size() == 2) return SaveLyricTextFile(song, words[1]) ? 0 : 1;
    const std::string text = LyricTextFileContents(song);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int RunImport(std::vector<std::string> args) {
    TSongOptions options;
    std::string out;
    const auto words = Words(args, options, &out);
    if (words.size() != 2) return Usage(kImportUsage);
    const std::string& file = words[0];
    const std::string& textFile = words[1];
    if (out.empty()) out = file;

    TCliSong opened(options, file);
    TSong& song = opened.Song;
    TCliDialogs& dialogs = opened.Dialogs;

    platform::TSystemOfficeConverter converter(song.Language);
    TEditorText editor;
    const std::string temp = std::filesystem::temp_directory_path().string();
    if (!LoadLyricTextFile(song, editor, textFile, FilterIndexFor(textFile, converter), &converter,
                           temp)
             .Loaded)
        return 1; // the message said why
    TRulesAccepted rules(dialogs);
    song.Dialogs = &rules;
    if (!FinishEditing(song, editor)) {
        std::fprintf(stderr, "lyrivox-cli lyrics import: \"%s\" has 2 lines or fewer\n",
                     textFile.c_str());
        return 1;
    }
    song.Dialogs = &dialogs;
    return WriteInSourceFormat(song, out);
}

std::function<int(std::vector<std::string>)> Guarded(int (*run)(std::vector<std::string>),
                                                     const char* usage) {
    return GuardedLyrics(run, usage, Usage);
}

const TLyricsRegistration regExport{{"export", kExportUsage, Guarded(RunExport, kExportUsage)}};
const TLyricsRegistration regImport{{"import", kImportUsage, Guarded(RunImport, kImportUsage)}};

} // namespace

} // namespace lv::cli
