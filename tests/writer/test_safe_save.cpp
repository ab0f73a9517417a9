// Saving never loses the old file: failures part-way through leave it
// byte-identical and leave no temporary file behind. Tests run as root, where
// folder permissions stop nothing, so the failures are injected through the
// save hooks (a write that stops after N bytes, a failing flush or rename).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <memory>

#include "FakeDialogs.h"
#include "WriterTestSupport.h"
#include "writer/SafeSave.h"
#include "writer/Writer.h"

using namespace lvtest;

namespace {

// Restores the default file operations when a test ends.
struct THookGuard {
    explicit THookGuard(lv::TSaveHooks h) : Old(lv::SetSaveHooks(std::move(h))) {}
    ~THookGuard() { lv::SetSaveHooks(std::move(Old)); }
    lv::TSaveHooks Old;
};

// A write that lets `budget` bytes through in small pieces, then fails with err.
lv::TSaveHooks FailWriteAfter(std::size_t budget, int err) {
    auto left = std::make_shared<std::size_t>(budget);
    lv::TSaveHooks h;
    h.Write = [left, err](int fd, const std::uint8_t* data, std::size_t size) -> long {
        if (*left == 0) {
            errno = err;
            return -1;
        }
        const std::size_t n = std::min({size, *left, std::size_t{7}});
        const long r = static_cast<long>(::write(fd, data, n));
        if (r > 0) *left -= static_cast<std::size_t>(r);
        return r;
    };
    return h;
}

lv::TSong SmallSong() {
    TSongSetup setup;
    setup.SongEndTick = 960;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    s.SongLoaded = true;
    for (int i = 0; i < 20; ++i)
        AddNote(s, 0, i * 48, 24, 0, 60 + i);
    return s;
}

std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(SafeSave, FailurePartWayLeavesTheOldFileUntouched) {
    const lv::AByte old = {'M', 'T', 'h', 'd', 'o', 'l', 'd', ' ', 's', 'o', 'n', 'g'};
    struct Case {
        const char* Name;
        std::function<lv::TSaveHooks()> Hooks;
        bool Format0;
        std::string Message;
    };
    lv::TSaveHooks syncFails;
    syncFails.Sync = [](int) {
        errno = EIO;
        return -1;
    };
    lv::TSaveHooks renameFails;
    renameFails.Rename = [](const std::string&, const std::string&) {
        errno = EXDEV;
        return -1;
    };
    const std::size_t size0 = lv::BuildFormat0Image(SmallSong(), "song.mid").size();
    const std::size_t size1 = lv::BuildFormat1Image(SmallSong()).size();
    std::vector<Case> cases = {
        {"disk full at once", [] { return FailWriteAfter(0, ENOSPC); }, true,
         "Beim Speichern der Datei \"{t}\" sind nur 0 aus " + std::to_string(size0) +
             " Bytes gespeichert"},
        {"disk full part-way", [] { return FailWriteAfter(30, ENOSPC); }, true,
         "Beim Speichern der Datei \"{t}\" sind nur 30 aus " + std::to_string(size0) +
             " Bytes gespeichert"},
        {"disk full part-way, format 1", [] { return FailWriteAfter(45, ENOSPC); }, false,
         "Beim speichern der Datei \"{t}\" sind nur 45 aus " + std::to_string(size1) +
             " Bytes gespeichert"},
        {"I/O error part-way", [] { return FailWriteAfter(10, EIO); }, true,
         "Fehler beim Schreiben der Datei \"{t}\""},
        {"flush fails", [=] { return syncFails; }, false,
         "Fehler beim Schreiben der Datei \"{t}\""},
        {"rename fails", [=] { return renameFails; }, true,
         "Fehler beim Schreiben der Datei \"{t}\""},
    };
    for (auto& c : cases) {
        for (const bool readOnly : {false, true}) {
            const std::string dir = MakeTempDir("lv-save");
            const std::string target = dir + "/song.mid";
            WriteFileBytes(target, old);
            ::chmod(target.c_str(), readOnly ? 0444 : 0640);
            TFakeDialogs dialogs;
            lv::TSong s = SmallSong();
            s.Language = "Deutsch";
            s.Dialogs = &dialogs;
            bool stored;
            {
                THookGuard guard(c.Hooks());
                stored =
                    c.Format0 ? lv::WriteFormat0File(s, target) : lv::WriteFormat1File(s, target);
            }
            EXPECT_FALSE(stored) << c.Name;
            EXPECT_EQ(ReadFileBytes(target), old) << c.Name;
            EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"song.mid"}) << c.Name;
            struct stat st {};
            ::stat(target.c_str(), &st);
            EXPECT_EQ(st.st_mode & 0777, readOnly ? 0444u : 0640u) << c.Name;
            ASSERT_EQ(dialogs.Log.size(), 1u) << c.Name;
            std::string want = c.Message;
            want.replace(want.find("{t}"), 3, target);
            EXPECT_EQ(dialogs.Log[0].Text, want) << c.Name;
            EXPECT_EQ(dialogs.Log[0].Caption, "Achtung");
            std::filesystem::remove_all(dir);
        }
    }
}

TEST(SafeSave, ReadOnlyTargetIsReplacedAndBecomesWritable) {
    const std::string dir = MakeTempDir("lv-save");
    const std::string target = dir + "/song.mid";
    WriteFileBytes(target, {'o', 'l', 'd'});
    ::chmod(target.c_str(), 0444);
    TFakeDialogs dialogs;
    lv::TSong s = SmallSong();
    s.Dialogs = &dialogs;
    ASSERT_TRUE(lv::WriteFormat0File(s, target));
    EXPECT_EQ(ReadFileBytes(target), lv::BuildFormat0Image(s, target));
    struct stat st {};
    ::stat(target.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    EXPECT_TRUE(dialogs.Log.empty());
    EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"song.mid"});
    std::filesystem::remove_all(dir);
}

TEST(SafeSave, NewFileAndLinkedFile) {
    const std::string dir = MakeTempDir("lv-save");
    lv::TSong s = SmallSong();
    // a new file
    ASSERT_TRUE(lv::WriteFormat1File(s, dir + "/new.mid"));
    EXPECT_EQ(ReadFileBytes(dir + "/new.mid"), lv::BuildFormat1Image(s));
    // a link: the file it names gets the bytes, the link stays a link
    std::filesystem::create_directory(dir + "/real");
    WriteFileBytes(dir + "/real/song.mid", {'o', 'l', 'd'});
    std::filesystem::create_symlink("real/song.mid", dir + "/link.mid");
    ASSERT_TRUE(lv::WriteFormat1File(s, dir + "/link.mid"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir + "/link.mid"));
    EXPECT_EQ(ReadFileBytes(dir + "/real/song.mid"), lv::BuildFormat1Image(s));
    std::filesystem::remove_all(dir);
}

TEST(SafeSave, TargetThatCannotBeCreated) {
    const std::string dir = MakeTempDir("lv-save");
    TFakeDialogs dialogs;
    lv::TSong s = SmallSong();
    s.Dialogs = &dialogs;
    struct Case {
        std::string Target;
        bool Format0;
        std::string Message;
    } cases[] = {
        {dir + "/missing/song.mid", true,
         "Error rewriting the midifile \"" + dir + "/missing/song.mid\"!"},
        {dir + "/missing/song.mid", false,
         "Error saving the midifile \"" + dir + "/missing/song.mid\"!"},
        {dir, true, "Error rewriting the midifile \"" + dir + "\"!"}, // a folder
    };
    for (const auto& c : cases) {
        dialogs.Log.clear();
        EXPECT_FALSE(c.Format0 ? lv::WriteFormat0File(s, c.Target)
                               : lv::WriteFormat1File(s, c.Target));
        ASSERT_EQ(dialogs.Log.size(), 1u);
        EXPECT_EQ(dialogs.Log[0].Text, c.Message);
        EXPECT_EQ(dialogs.Log[0].Caption, "Warning");
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir));
    std::filesystem::remove_all(dir);
}

TEST(SafeSave, WriteProtectionThatCannotBeLifted) {
    // Root may change any file's mode, so the refusal comes through the hook.
    lv::TSaveHooks hooks;
    hooks.Chmod = [](const std::string&, unsigned) {
        errno = EPERM;
        return -1;
    };
    struct Case {
        int SourceFormat;
        bool Format0;
        const char* English;
    } cases[] = {
        {1, true, "Error removing read only flag for midifile \"{t}\"!"},
        {0, false, "Error removing read only flag for midifile \"{t}\"!"},
        {1, false, "Error removing read only flag for the midifile \"{t}\"!"},
    };
    for (const auto& c : cases) {
        const std::string dir = MakeTempDir("lv-save");
        const std::string target = dir + "/song.mid";
        WriteFileBytes(target, {'o', 'l', 'd'});
        ::chmod(target.c_str(), 0444);
        TFakeDialogs dialogs;
        lv::TSong s = SmallSong();
        s.SourceFormat = static_cast<std::uint8_t>(c.SourceFormat);
        s.Dialogs = &dialogs;
        bool stored;
        {
            THookGuard guard(hooks);
            stored = c.Format0 ? lv::WriteFormat0File(s, target) : lv::WriteFormat1File(s, target);
        }
        EXPECT_FALSE(stored);
        EXPECT_EQ(ReadFileBytes(target), (lv::AByte{'o', 'l', 'd'}));
        EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"song.mid"});
        ASSERT_EQ(dialogs.Log.size(), 1u);
        std::string want = c.English;
        want.replace(want.find("{t}"), 3, target);
        EXPECT_EQ(dialogs.Log[0].Text, want);
        std::filesystem::remove_all(dir);
    }
}
