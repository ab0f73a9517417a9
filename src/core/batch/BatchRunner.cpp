#include "batch/BatchRunner.h"

#include <algorithm>
#include <deque>
#include <exception>
#include <filesystem>

#include "model/OpenSong.h"
#include "text/MessagesBatch.h"
#include "text/MessagesWriter.h"
#include "writer/SafeSave.h"
#include "writer/Writer.h"

namespace lv {

namespace {

bool HasMidExtension(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".mid";
}

template <class F, class... A> void Call(const F& f, A&&... a) {
    if (f) f(std::forward<A>(a)...);
}

// Keeps the playback speed at 100 % while files are written, so no file gets
// a changed tempo, and puts the user's setting back however the run ends.
struct TSpeedHold {
    explicit TSpeedHold(TSong& s) : Song(s), Saved(s.Config.PlaybackSpeed) {
        Song.Config.PlaybackSpeed = 0;
    }
    ~TSpeedHold() { Song.Config.PlaybackSpeed = Saved; }
    TSong& Song;
    std::uint8_t Saved;
};

struct TFlagHold {
    TFlagHold(bool& f, bool value) : Flag(f), Saved(f) { Flag = value; }
    ~TFlagHold() { Flag = Saved; }
    bool& Flag;
    bool Saved;
};

} // namespace

std::vector<std::string> TBatchRunner::CollectFiles(const std::string& mainFolder,
                                                    const TBatchCallbacks& cb,
                                                    const std::string& language) {
    namespace fs = std::filesystem;
    std::vector<std::string> found;
    std::deque<std::string> folders{mainFolder};
    while (!folders.empty()) {
        std::string folder = folders.front();
        folders.pop_front();
        if (folder.empty() || folder.back() != '/') folder += '/';
        Call(cb.Caption, msg::Fill(Tr(language, msg::BatchReadingFolder), "folder", folder));

        std::vector<std::string> subfolders;
        std::vector<std::string> files;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            std::error_code typeEc;
            if (it->is_directory(typeEc)) {
                // Links to folders are not followed: they could lead in a circle.
                if (!it->is_symlink(typeEc)) subfolders.push_back(name);
            } else if (HasMidExtension(name)) {
                files.push_back(name);
            }
        }
        std::sort(subfolders.begin(), subfolders.end());
        std::sort(files.begin(), files.end());
        Call(cb.Range, static_cast<int>(subfolders.size() + files.size()));
        int pos = 0;
        for (const auto& s : subfolders) {
            folders.push_back(folder + s);
            Call(cb.Position, ++pos);
            Call(cb.ProcessMessages);
        }
        // The folder keeps its case: on this system paths are case-sensitive.
        for (const auto& f : files) {
            found.push_back(folder + f);
            Call(cb.Position, ++pos);
            Call(cb.ProcessMessages);
        }
    }
    return found;
}

TBatchResult TBatchRunner::Run(TBatchMode mode, const std::string& mainFolder,
                               const TBatchCallbacks& cb, bool showReport) {
    TBatchResult result;
    if (mainFolder.empty()) return result;
    TUserDialogs& dialogs = Song.UserDialogs();
    if (Song.Config.InsertController32 &&
        dialogs.AskYesNo(Tr(Song.Language, msg::BatchController32Question), kAppTitle))
        return result;
    result.Ran = true;

    TFlagHold batchMode(Song.BatchMode, true);
    Call(cb.CancelEnabled, false);
    const std::vector<std::string> files = CollectFiles(mainFolder, cb, Song.Language);
    result.Found = static_cast<int>(files.size());

    Call(cb.CancelEnabled, true);
    CancelFlag = false;
    BusyFlag = true;
    const TMessage& caption = mode == TBatchMode::ConvertToF0   ? msg::BatchConvertingF0
                              : mode == TBatchMode::ConvertToF1 ? msg::BatchConvertingF1
                                                                : msg::BatchSaving;
    Call(cb.Caption, Tr(Song.Language, caption));
    Call(cb.Range, result.Found);
    {
        TSpeedHold speed(Song);
        for (int i = 0; i < result.Found && !CancelFlag; ++i) {
            const std::string& path = files[static_cast<std::size_t>(i)];
            Call(cb.Position, i);
            Call(cb.FileStarted, i, path);
            bool ok = true;
            std::string error;
            try {
                OpenSong(Song, path);
                Call(cb.ProcessMessages);
                switch (mode) {
                case TBatchMode::ConvertToF0:
                    ok = WriteFormat0File(Song, path);
                    break;
                case TBatchMode::ConvertToF1:
                    ok = WriteFormat1File(Song, path);
                    break;
                case TBatchMode::Update:
                    ok = Song.SourceFormat == 1 ? WriteFormat1File(Song, path)
                                                : WriteFormat0File(Song, path);
                    break;
                case TBatchMode::Search: {
                    std::string name = std::filesystem::path(path).filename().string();
                    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
                    SearchResults.push_back(name + "\t" + (Song.SyllableCursor >= 5 ? "y" : "n"));
                    break;
                }
                }
                // A file that was not stored is a file not processed; the
                // writer has already said why.
                if (!ok) error = "not stored";
            } catch (const std::exception& e) {
                ok = false;
                error = e.what();
            } catch (...) {
                ok = false;
                error = "unknown error";
            }
            if (!ok) {
                ++result.Errors;
                result.Failed.push_back(path);
                Call(cb.StopPlayback);
            }
            Call(cb.FileDone, i, path, ok, error);
        }
    }
    result.Cancelled = CancelFlag;

    if (mode == TBatchMode::Search) {
        std::string text;
        for (const auto& line : SearchResults)
            text += line + "\r\n";
        std::string target = mainFolder;
        if (target.back() != '/') target += '/';
        target += kCensusFileName;
        const TSaveOutcome o = StoreFileImage(target, AByte(text.begin(), text.end()));
        if (o.Result != TSaveResult::Stored)
            dialogs.Message(
                msg::Fill(Tr(Song.Language, msg::BatchCensusWriteError), "name", target),
                kAppTitle);
    }
    BusyFlag = false;
    if (Song.SongLoaded) FreeSong(Song);
    Call(cb.Caption, std::string());

    if (result.Cancelled) {
        result.Report = Tr(Song.Language, msg::BatchCancelled);
    } else if (result.Found == 0) {
        result.Report = Tr(Song.Language, msg::BatchNoFiles);
    } else if (result.Errors == 0) {
        result.Report = msg::Fill(Tr(Song.Language, msg::BatchSucceeded), "files",
                                  std::to_string(result.Found));
    } else {
        result.Report =
            msg::Fill(Tr(Song.Language, msg::BatchFailed), "files", std::to_string(result.Found));
        result.Report = msg::Fill(result.Report, "errors", std::to_string(result.Errors));
    }
    if (showReport) dialogs.Message(result.Report, kAppTitle);
    return result;
}

} // namespace lv
