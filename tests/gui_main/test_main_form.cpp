// The main window on the offscreen platform: opening songs, the view text,
// menu states and captions, failing opens, the folder rule, closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTextCursor>
#include <QTimer>

#include "FakeDialogs.h"
#include "SmfBuilder.h"
#include "gui/MainForm.h"
#include "lyrics/TextView.h"

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "test_gui_main";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// Title, performer, then two sung lines; one apostrophe is the typographic
// 0x92 and one letter is the Windows-1252 0xE9.
lv::AByte SongWithLyrics() {
    lvtest::TSmfBuilder smf(1, 480);
    smf.AddTrack().Tempo(0, 500000).TimeSig(0, 4, 2).EndOfTrack(0);
    auto& t = smf.AddTrack();
    t.Lyric(0, "Title").Lyric(0, "\r").Lyric(0, "Singer").Lyric(0, "\r");
    t.Lyric(1920, "Don\x92t ").NoteOn(0, 0, 60, 90).Lyric(480, "stop").NoteOn(0, 0, 62, 90);
    t.Lyric(240, "\r")
        .Lyric(240, "Caf\xE9 ")
        .NoteOn(0, 0, 64, 90)
        .Lyric(480, "au ")
        .Lyric(480, "lait");
    t.NoteOff(480, 0, 64).EndOfTrack(0);
    return smf.Build();
}

lv::AByte SongWithoutLyrics() {
    lvtest::TSmfBuilder smf(0, 96);
    smf.AddTrack().NoteOn(0, 0, 60, 100).NoteOff(96, 0, 60).EndOfTrack(0);
    return smf.Build();
}

class MainForm : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        Dir = lvtest::MakeTempDir("lv_gui");
        Settings = QString::fromStdString(Dir + "/Lyrivox.ini");
    }
    std::unique_ptr<lv::TMainForm> Form(const QString& systemLanguage = "English") {
        lv::TMainFormSetup setup;
        setup.SettingsFile = Settings;
        setup.ProgramFolder = QString::fromStdString(Dir);
        setup.SystemLanguage = systemLanguage;
        auto form = std::make_unique<lv::TMainForm>(setup);
        form->SetDialogs(&Dialogs);
        return form;
    }
    QString Write(const std::string& name, const lv::AByte& bytes) {
        lvtest::WriteFileBytes(Dir + "/" + name, bytes);
        return QString::fromStdString(Dir + "/" + name);
    }
    static bool Enabled(lv::TMainForm& f, const char* name) {
        QAction* a = f.Item(name);
        EXPECT_NE(a, nullptr) << name;
        return a && a->isEnabled();
    }
    std::string Dir;
    QString Settings;
    lvtest::TFakeDialogs Dialogs;
};

TEST_F(MainForm, OpenShowsTheLyricsDecodedAndReadOnly) {
    auto form = Form();
    const QString file = Write("song.mid", SongWithLyrics());
    ASSERT_TRUE(form->OpenSong(file));
    EXPECT_TRUE(Dialogs.Log.empty());
    EXPECT_EQ(form->MyMemo->toPlainText(),
              QString::fromUtf8("Title\nSinger\nDon't stop\nCafé au lait"));
    EXPECT_TRUE(form->MyMemo->isReadOnly());
    EXPECT_TRUE(form->MyMemo->isVisibleTo(form.get()));
    EXPECT_EQ(form->MyMemo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(form->windowTitle(), "Lyrivox - " + file);
    EXPECT_EQ(form->MyMemo->textCursor().position(), 0);
    EXPECT_FALSE(form->MyMemo->textCursor().hasSelection());
    // The font of the settings.
    EXPECT_TRUE(form->MyMemo->font().bold());
    EXPECT_EQ(form->MyMemo->font().pixelSize(), 16);
}

TEST_F(MainForm, MenusFollowTheOpenedSong) {
    auto form = Form();
    // Before any song only File (open, exit) and Help can be used.
    for (const char* name : {"MainMenu_Text", "MainMenu_Edit", "MainMenu_DateiSpeichern"})
        EXPECT_FALSE(Enabled(*form, name)) << name;
    EXPECT_TRUE(Enabled(*form, "MainMenu_DateiOeffnen"));
    EXPECT_TRUE(Enabled(*form, "MainMenu_DateiProgrammBeenden"));
    EXPECT_FALSE(form->Item("MainMenu_DateiMultiOeffnen")->isVisible()); // MultiMode off

    ASSERT_TRUE(form->OpenSong(Write("song.mid", SongWithLyrics())));
    EXPECT_TRUE(Enabled(*form, "MainMenu_Text"));
    EXPECT_TRUE(Enabled(*form, "MainMenu_Edit"));
    EXPECT_EQ(form->Item("MainMenu_TextEdit")->text(), "Edit");
    // Commands that arrive with later work exist but stay disabled.
    for (const char* name : {"MainMenu_TextAssign", "MainMenu_DateiSpeichern", "MainMenu_Options",
                             "PopupMenu_TextAssign", "MainMenu_HelpInfo"})
        EXPECT_FALSE(Enabled(*form, name)) << name;

    // A song without lyrics: writable view, the edit item says "Finish editing".
    ASSERT_TRUE(form->OpenSong(Write("plain.mid", SongWithoutLyrics())));
    EXPECT_EQ(form->MyMemo->toPlainText(), "");
    EXPECT_FALSE(form->MyMemo->isReadOnly());
    EXPECT_EQ(form->Item("MainMenu_TextEdit")->text(), "Finish editing");
    EXPECT_EQ(form->Item("PopupMenu_TextEdit")->text(), "Finish editing");
}

TEST_F(MainForm, FailingOpenShowsTheMessageAndLeavesTheViewHidden) {
    auto form = Form();
    ASSERT_TRUE(form->OpenSong(Write("song.mid", SongWithLyrics())));
    const QString title = form->windowTitle();
    const lv::AByte tooShort(23, 'M');
    EXPECT_FALSE(form->OpenSong(Write("short.mid", tooShort)));
    ASSERT_EQ(Dialogs.Log.size(), 1u);
    EXPECT_FALSE(Dialogs.Log[0].IsQuestion);
    EXPECT_EQ(Dialogs.Log[0].Text, "Error: midi file too short!");
    EXPECT_EQ(Dialogs.Log[0].Caption, "Lyrivox");
    EXPECT_FALSE(form->MyMemo->isVisibleTo(form.get()));
    EXPECT_EQ(form->MyMemo->toPlainText(), "");
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_FALSE(form->Song.SongLoaded);

    // A file that is not there, and one that is not a MIDI file at all.
    EXPECT_FALSE(form->OpenSong(QString::fromStdString(Dir + "/missing.mid")));
    EXPECT_FALSE(form->OpenSong(Write("text.mid", lv::AByte(100, 'x'))));
    ASSERT_EQ(Dialogs.Log.size(), 3u);
    for (const auto& entry : Dialogs.Log)
        EXPECT_FALSE(entry.Text.empty());
}

TEST_F(MainForm, CaptionsFollowTheLanguage) {
    struct TCase {
        const char* StoredLang; // nullptr: none stored
        const char* System;
        const char* Open;
        const char* TextUpperCase;
        const char* PopupAssign;
    };
    const TCase cases[] = {
        {nullptr, "Deutsch", "Öffnen", "nur Grossbuchstaben", "Silben mit Noten &verknüpfen"},
        {nullptr, "English", "Open", "Set to upper case", "Assign hyphens to notes"},
        {"en", "Deutsch", "Open", "Set to upper case", "Assign hyphens to notes"},
        {"de", "English", "Öffnen", "nur Grossbuchstaben", "Silben mit Noten &verknüpfen"},
    };
    for (const auto& c : cases) {
        QFile::remove(Settings);
        if (c.StoredLang) QSettings(Settings, QSettings::IniFormat).setValue("Lang", c.StoredLang);
        auto form = Form(c.System);
        EXPECT_EQ(form->Item("MainMenu_DateiOeffnen")->text(), QString::fromUtf8(c.Open));
        EXPECT_EQ(form->Item("MainMenu_TextUpperCase")->text(), QString::fromUtf8(c.TextUpperCase));
        EXPECT_EQ(form->Item("PopupMenu_TextAssign")->text(), QString::fromUtf8(c.PopupAssign));
    }
}

TEST_F(MainForm, OpeningFromAnotherFolderRemembersAndSavesIt) {
    auto form = Form();
    const std::string songs = lvtest::MakeTempDir("lv_gui_Songs");
    lvtest::WriteFileBytes(songs + "/a.mid", SongWithLyrics());
    ASSERT_TRUE(form->OpenChosenFile(QString::fromStdString(songs + "/a.mid")));
    EXPECT_EQ(form->Config().LastMidiPathSource, songs); // case kept: Linux names differ by case
    EXPECT_EQ(QSettings(Settings, QSettings::IniFormat).value("LastMidiPathSource").toString(),
              QString::fromStdString(songs));
    // The same folder again: nothing is saved.
    QFile::remove(Settings);
    ASSERT_TRUE(form->OpenChosenFile(QString::fromStdString(songs + "/a.mid")));
    EXPECT_FALSE(QFile::exists(Settings));
}

TEST_F(MainForm, OpenDialogStartsInTheLastFolderAndOpensTheChoice) {
    auto form = Form();
    const std::string songs = lvtest::MakeTempDir("lv_gui_dialog");
    lvtest::WriteFileBytes(songs + "/pick.mid", SongWithLyrics());
    form->Config().LastMidiPathSource = songs;
    QString title, directory;
    QStringList filters;
    // The dialog is modal: answer it from the event loop once it is up.
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        poll.stop();
        title = dlg->windowTitle();
        directory = dlg->directory().absolutePath();
        filters = dlg->nameFilters();
        dlg->selectFile(QString::fromStdString(songs + "/pick.mid"));
        QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
    });
    poll.start();
    form->Item("MainMenu_DateiOeffnen")->trigger();
    EXPECT_EQ(title, " Datei laden");
    EXPECT_EQ(directory, QString::fromStdString(songs));
    EXPECT_EQ(filters, (QStringList{"Midi Dateien (*.mid)", "Alle Dateien (*.*)"}));
    EXPECT_TRUE(form->Song.SongLoaded);
    EXPECT_TRUE(form->windowTitle().endsWith("/pick.mid"));
}

TEST_F(MainForm, HighlightSelectsTheSungPartOfTheLine) {
    auto form = Form();
    ASSERT_TRUE(form->OpenSong(Write("song.mid", SongWithLyrics())));
    auto& song = form->Song;
    // Find "au " and highlight it: the line so far is selected.
    std::int32_t index = -1;
    for (std::int32_t i = 0; i < song.SyllableCount; ++i)
        if (song.Syllables[static_cast<std::size_t>(i)].Text == "au ") index = i;
    ASSERT_GE(index, 0);
    form->ApplyHighlight(lv::HighlightSyllable(song, index, form->ViewText()));
    EXPECT_EQ(form->MyMemo->textCursor().selectedText(), QString::fromUtf8("Café au "));
    // Out of range: the view stays as it is.
    form->ApplyHighlight(lv::HighlightSyllable(song, song.SyllableCount + 5, form->ViewText()));
    EXPECT_EQ(form->MyMemo->textCursor().selectedText(), QString::fromUtf8("Café au "));
}

TEST_F(MainForm, ClosingAsksAndRemembersThePlacement) {
    auto form = Form();
    form->Config().RememberLayout = true;
    form->move(33, 44);
    Dialogs.Answers = {false, true};
    EXPECT_FALSE(form->close()); // No: the window stays
    EXPECT_FALSE(QSettings(Settings, QSettings::IniFormat).contains("MainFormLeft"));
    EXPECT_TRUE(form->close());
    ASSERT_EQ(Dialogs.Log.size(), 2u);
    EXPECT_EQ(Dialogs.Log[0].Text, "Do you want to exit Lyrivox?");
    EXPECT_EQ(QSettings(Settings, QSettings::IniFormat).value("MainFormLeft").toInt(), 33);
    EXPECT_EQ(QSettings(Settings, QSettings::IniFormat).value("MainFormTop").toInt(), 44);
    EXPECT_TRUE(QSettings(Settings, QSettings::IniFormat).contains("TransportFormTop"));
}

TEST_F(MainForm, ExitCommandAsksItsOwnQuestionAndKeepsTheSizeForTheVirtualPrompter) {
    auto form = Form();
    form->Config().RememberLayout = true;
    form->Config().VirtualSufflor = true;
    form->move(70, 80);
    form->resize(900, 700);
    Dialogs.Answers = {false};
    form->Item("MainMenu_DateiProgrammBeenden")->trigger();
    ASSERT_EQ(Dialogs.Log.size(), 1u);
    EXPECT_EQ(Dialogs.Log[0].Text, "Terminate program?");
    EXPECT_EQ(Dialogs.Log[0].Caption, "Lyrivox");
    EXPECT_FALSE(QFile::exists(Settings)); // No: nothing happens
    Dialogs.Answers = {true};
    form->Item("MainMenu_DateiProgrammBeenden")->trigger();
    QSettings stored(Settings, QSettings::IniFormat);
    EXPECT_EQ(stored.value("MainFormLeft").toInt(), 70);
    EXPECT_EQ(stored.value("MainFormWidth").toInt(), 640); // size kept as configured
    EXPECT_EQ(stored.value("MainFormHeight").toInt(), 480);
    // After the exit command the window closes without asking again.
    EXPECT_TRUE(form->close());
    EXPECT_EQ(Dialogs.Log.size(), 2u);
}

TEST(MainFormText, FileFilterAndDisplayPositions) {
    struct TFilter {
        const char* In;
        const char* Want;
    };
    const TFilter filters[] = {
        {"Midi Dateien (*.mid)|*.mid|Alle Dateien (*.*)|*.*",
         "Midi Dateien (*.mid);;Alle Dateien (*.*)"},
        {"Karaoke|*.kar;*.mid", "Karaoke (*.kar *.mid)"},
        {"Shown (*.x)|*.mid", "Shown (*.mid)"},
    };
    for (const auto& f : filters)
        EXPECT_EQ(lv::QtFileFilter(f.In), f.Want) << f.In;

    std::vector<int> pos;
    EXPECT_EQ(lv::DisplayText("ab\r\nc\x80\rd", lv::TCodePage::Windows1252, &pos),
              QString::fromUtf8("ab\nc€\nd"));
    EXPECT_EQ(pos, (std::vector<int>{0, 1, 2, 2, 3, 4, 5, 6, 7}));
}

} // namespace
