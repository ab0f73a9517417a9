#include "writer/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include "text/MessagesWriter.h"

namespace lv {

namespace {

TSaveHooks& Hooks() {
    static TSaveHooks hooks;
    return hooks;
}

long DoWrite(int fd, const std::uint8_t* data, std::size_t size) {
    auto& h = Hooks();
    if (h.Write) return h.Write(fd, data, size);
    return static_cast<long>(::write(fd, data, size));
}

int DoSync(int fd) {
    auto& h = Hooks();
    if (h.Sync) return h.Sync(fd);
    return ::fsync(fd);
}

int DoChmod(const std::string& path, unsigned mode) {
    auto& h = Hooks();
    if (h.Chmod) return h.Chmod(path, mode);
    return ::chmod(path.c_str(), static_cast<mode_t>(mode));
}

int DoRename(const std::string& from, const std::string& to) {
    auto& h = Hooks();
    if (h.Rename) return h.Rename(from, to);
    return std::rename(from.c_str(), to.c_str());
}

// A fresh file next to the target; created with 0666 so the umask applies.
int CreateTemp(const std::string& folder, const std::string& base, std::string& tempPath) {
    std::random_device rd;
    std::mt19937 gen(rd());
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(gen()));
        tempPath = folder + "/." + base + ".lvtmp-" + suffix;
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -1;
    }
    return -1;
}

} // namespace

TSaveHooks SetSaveHooks(TSaveHooks hooks) {
    TSaveHooks old = std::move(Hooks());
    Hooks() = std::move(hooks);
    return old;
}

TSaveOutcome StoreFileImage(const std::string& targetIn, const AByte& image) {
    namespace fs = std::filesystem;
    TSaveOutcome out;

    // A link is followed, so the file it names is replaced and the link stays.
    std::string target = targetIn;
    std::error_code ec;
    if (fs::is_symlink(targetIn, ec)) {
        const fs::path real = fs::weakly_canonical(targetIn, ec);
        if (!ec) target = real.string();
    }
    const fs::path tp(target);
    std::string folder = tp.parent_path().string();
    if (folder.empty()) folder = ".";
    const std::string base = tp.filename().string();

    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        out.Result = TSaveResult::CannotStart;
        return out;
    }
    // A write-protected target is made writable, as saving over it asks for;
    // when that is not allowed the file stays as it is.
    bool modeChanged = false;
    if (exists && (st.st_mode & S_IWUSR) == 0) {
        if (DoChmod(target, (st.st_mode | S_IWUSR) & 07777) != 0) {
            out.Result = TSaveResult::ReadOnlyFailed;
            return out;
        }
        modeChanged = true;
    }
    auto restoreMode = [&] {
        if (modeChanged) ::chmod(target.c_str(), st.st_mode & 07777);
    };

    std::string tempPath;
    int fd = CreateTemp(folder, base, tempPath);
    if (fd < 0) {
        restoreMode();
        out.Result = TSaveResult::CannotStart;
        return out;
    }
    auto fail = [&](TSaveResult r) {
        if (fd >= 0) ::close(fd);
        ::unlink(tempPath.c_str());
        restoreMode();
        out.Result = r;
        return out;
    };

    // The new file takes over the old one's permissions (minus write
    // protection) and, where allowed, its owner.
    if (exists) {
        ::fchmod(fd, (st.st_mode | S_IWUSR) & 07777);
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Not the owner and not allowed to give it away: the file becomes ours.
        }
    }

    const std::uint8_t* p = image.data();
    std::size_t left = image.size();
    while (left > 0) {
        const long r = DoWrite(fd, p, left);
        if (r < 0 && errno == EINTR) continue;
        if (r == 0 || (r < 0 && (errno == ENOSPC || errno == EFBIG || errno == EDQUOT)))
            return fail(TSaveResult::ShortWrite);
        if (r < 0) return fail(TSaveResult::WriteError);
        out.Written += static_cast<std::size_t>(r);
        p += r;
        left -= static_cast<std::size_t>(r);
    }
    if (DoSync(fd) != 0) return fail(TSaveResult::WriteError);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(TSaveResult::WriteError);
    // The folder entry is not flushed: after a crash the folder names either
    // the old file or the complete new one, and both are whole songs.
    if (DoRename(tempPath, target) != 0) return fail(TSaveResult::WriteError);
    out.Result = TSaveResult::Stored;
    return out;
}

bool SaveFileImage(TSong& song, const std::string& target, const AByte& image, TWriterKind kind) {
    const TSaveOutcome o = StoreFileImage(target, image);
    if (o.Result == TSaveResult::Stored) return true;

    const bool f0 = kind == TWriterKind::Format0;
    const bool asIs = kind == TWriterKind::Format1AsIs;
    const TMessage* m = nullptr;
    switch (o.Result) {
    case TSaveResult::ReadOnlyFailed:
        m = asIs ? &msg::ReadOnly1AsIs : &msg::ReadOnly0;
        break;
    case TSaveResult::CannotStart:
        m = f0 ? &msg::CannotStart0 : &msg::CannotStart1;
        break;
    case TSaveResult::ShortWrite:
        m = f0 ? &msg::ShortWrite0 : asIs ? &msg::ShortWrite1AsIs : &msg::ShortWrite1Split;
        break;
    case TSaveResult::WriteError:
        m = f0 ? &msg::WriteError0 : &msg::WriteError1;
        break;
    case TSaveResult::Stored:
        break;
    }
    std::string text = msg::Fill(Tr(song.Language, *m), "name", target);
    text = msg::Fill(text, "written", std::to_string(o.Written));
    text = msg::Fill(text, "size", std::to_string(image.size()));
    song.UserDialogs().Message(text, Tr(song.Language, msg::WriterCaption));
    return false;
}

} // namespace lv
