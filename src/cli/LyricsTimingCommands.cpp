// lyrivox-cli lyrics link|quantize|move|upper|strip-punctuation|mtc-export|mtc-import:
// the lyric timing commands on one song, each writing the song back over
// itself in its own format, or to -o OUT.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "LyricsCommand.h"
#include "SongIo.h"
#include "lyrics/Linking.h"
#include "lyrics/MtcEditing.h"
#include "lyrics/TextCommands.h"
#include "lyrics/Timing.h"
#include "model/OpenSong.h"

namespace lv::cli {

namespace {

// What a subcommand was given: the song, the target, its own words.
struct TJob {
    TSongOptions Options;
    std::string File;
    std::string Out; // the file itself unless -o
    std::vector<std::string> Words;
};

std::string TimingOptionsUsage() {
    return "  -o OUT                   write the song to OUT instead of over FILE\n" +
           SongOptionsUsage();
}

int Usage(const std::string& usage) {
    std::fprintf(stderr, "usage: lyrivox-cli lyrics %s\n%s", usage.c_str(),
                 TimingOptionsUsage().c_str());
    return 2;
}

// Takes the options out of args; false when the number of words is wrong or
// an unknown option is left.
bool ParseJob(std::vector<std::string> args, std::size_t minWords, std::size_t maxWords, TJob& job,
              const std::function<void(std::vector<std::string>&)>& own = {}) {
    job.Options = ParseSongOptions(args);
    std::string out;
    if (TakeOption(args, "-o", out)) job.Out = out;
    if (own) own(args);
    for (const auto& a : args)
        if (a.size() > 2 && a.rfind("--", 0) == 0)
            throw std::invalid_argument("unknown option " + a);
    if (args.empty() || args.size() - 1 < minWords || args.size() - 1 > maxWords) return false;
    job.File = args[0];
    job.Words.assign(args.begin() + 1, args.end());
    if (job.Out.empty()) job.Out = job.File;
    return true;
}

bool HasLyrics(const TSong& song, const std::string& file) {
    if (song.SyllableCount > 0) return true;
    std::fprintf(stderr, "lyrivox-cli lyrics: \"%s\" has no lyrics\n", file.c_str());
    return false;
}

// Open, check for lyrics, run, save.
int RunOnLyrics(const TJob& job, const std::function<void(TSong&)>& command) {
    TCliSong opened(job.Options, job.File);
    TSong& song = opened.Song;
    if (!HasLyrics(song, job.File)) return 1;
    command(song);
    return WriteInSourceFormat(song, job.Out);
}

bool ReadTextFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// --- subcommands --------------------------------------------------------------

const char* const kLinkUsage = "link FILE [-o OUT]   time the syllables from the melody notes";
const char* const kQuantizeUsage =
    "quantize FILE [--factor 0..3] [-o OUT]   move the syllables to a grid "
    "(0 quarter, 1 eighth, 2 eighth triplet, 3 sixteenth; default 1)";
const char* const kMoveUsage = "move FILE MS [-o OUT]   shift the lyrics by MS milliseconds";
const char* const kUpperUsage = "upper FILE [-o OUT]   lyrics in capital letters";
const char* const kStripUsage = "strip-punctuation FILE [-o OUT]   remove punctuation marks";
const char* const kMtcExportUsage =
    "mtc-export FILE [TEXT]   the lyrics one syllable a line with its position (default: stdout)";
const char* const kMtcImportUsage =
    "mtc-import FILE TEXT [-o OUT]   take syllables and positions from TEXT";

int RunLink(std::vector<std::string> args) {
    TJob job;
    if (!ParseJob(std::move(args), 0, 0, job)) return Usage(kLinkUsage);
    return RunOnLyrics(job, [](TSong& song) { LinkSyllables(song); });
}

int RunQuantize(std::vector<std::string> args) {
    TJob job;
    int factor = -1;
    const auto takeFactor = [&factor](std::vector<std::string>& a) {
        std::string v;
        if (!TakeOption(a, "--factor", v)) return;
        if (v.size() != 1 || v[0] < '0' || v[0] > '3')
            throw std::invalid_argument("--factor takes 0, 1, 2 or 3, not \"" + v + "\"");
        factor = v[0] - '0';
    };
    if (!ParseJob(std::move(args), 0, 0, job, takeFactor)) return Usage(kQuantizeUsage);
    if (factor >= 0) job.Options.Config.QuantizeFactor = static_cast<std::uint8_t>(factor);
    return RunOnLyrics(job, [](TSong& song) { QuantizeLyrics(song); });
}

int RunMove(std::vector<std::string> args) {
    TJob job;
    if (!ParseJob(std::move(args), 1, 1, job)) return Usage(kMoveUsage);
    const std::string& text = job.Words[0];
    std::int32_t ms = 0;
    const char* b = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    const auto r = std::from_chars(b, text.data() + text.size(), ms);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) {
        std::fprintf(stderr, "lyrivox-cli lyrics move: \"%s\" is not a whole number of ms\n",
                     text.c_str());
        return 2;
    }
    return RunOnLyrics(job, [ms](TSong& song) { MoveLyrics(song, ms); });
}

int RunUpper(std::vector<std::string> args) {
    TJob job;
    if (!ParseJob(std::move(args), 0, 0, job)) return Usage(kUpperUsage);
    return RunOnLyrics(job, [](TSong& song) {
        TEditorText editor;
        UpperCase(song, editor);
    });
}

int RunStripPunctuation(std::vector<std::string> args) {
    TJob job;
    if (!ParseJob(std::move(args), 0, 0, job)) return Usage(kStripUsage);
    TCliSong opened(job.Options, job.File);
    TSong& song = opened.Song;
    if (!HasLyrics(song, job.File)) return 1;
    TEditorText editor;
    if (RemovePunctuation(song, editor).Status == TMtcFinishStatus::Rejected) return 1;
    return WriteInSourceFormat(song, job.Out);
}

int RunMtcExport(std::vector<std::string> args) {
    TJob job;
    if (!ParseJob(std::move(args), 0, 1, job)) return Usage(kMtcExportUsage);
    TCliSong opened(job.Options, job.File);
    TSong& song = opened.Song;
    if (!HasLyrics(song, job.File)) return 1;
    TEditorText editor;
    StartMtcEditing(song, editor);
    const std::string text = editor.Text() + "\r\n";
    FreeSong(song);
    if (job.Words.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::ofstream out(job.Words[0], std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "lyrivox-cli lyrics mtc-export: cannot write \"%s\"\n",
                     job.Words[0].c_str());
        return 1;
    }
    return 0;
}

int RunMtcImport(std::vector<std::string> args) {
    TJob job;
    if (!ParseJob(std::move(args), 1, 1, job)) return Usage(kMtcImportUsage);
    std::string text;
    if (!ReadTextFile(job.Words[0], text)) {
        std::fprintf(stderr, "lyrivox-cli lyrics mtc-import: cannot read \"%s\"\n",
                     job.Words[0].c_str());
        return 1;
    }
    TCliSong opened(job.Options, job.File);
    TSong& song = opened.Song;
    TEditorText editor;
    editor.SetText(text);
    editor.ReadOnly = false;
    song.EditMode = true;
    const TMtcFinishResult r = FinishMtcEditing(song, editor);
    if (r.Status == TMtcFinishStatus::TooFewLines) {
        std::fprintf(stderr, "lyrivox-cli lyrics mtc-import: \"%s\" has 2 lines or fewer\n",
                     job.Words[0].c_str());
        return 1;
    }
    if (r.Status == TMtcFinishStatus::Rejected) return 1; // the message named the line
    return WriteInSourceFormat(song, job.Out);
}

// Bad option values are usage errors.
std::function<int(std::vector<std::string>)> Guarded(int (*run)(std::vector<std::string>),
                                                     const char* usage) {
    return GuardedLyrics(run, usage, [](const char* u) { return Usage(u); });
}

const TLyricsRegistration regLink{{"link", kLinkUsage, Guarded(RunLink, kLinkUsage)}};
const TLyricsRegistration regQuantize{
    {"quantize", kQuantizeUsage, Guarded(RunQuantize, kQuantizeUsage)}};
const TLyricsRegistration regMove{{"move", kMoveUsage, Guarded(RunMove, kMoveUsage)}};
const TLyricsRegistration regUpper{{"upper", kUpperUsage, Guarded(RunUpper, kUpperUsage)}};
const TLyricsRegistration regStrip{
    {"strip-punctuation", kStripUsage, Guarded(RunStripPunctuation, kStripUsage)}};
const TLyricsRegistration regMtcExport{
    {"mtc-export", kMtcExportUsage, Guarded(RunMtcExport, kMtcExportUsage)}};
const TLyricsRegistration regMtcImport{
    {"mtc-import", kMtcImportUsage, Guarded(RunMtcImport, kMtcImportUsage)}};

} // namespace

} // namespace lv::cli
