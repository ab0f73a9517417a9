// Every command on a model without a song (no tracks, no zones, Division 0)
// must leave it without faulting.
#include <gtest/gtest.h>

#include "FakeDialogs.h"
#include "lyrics/Linking.h"
#include "lyrics/MtcEditing.h"
#include "lyrics/TextCommands.h"
#include "lyrics/Timing.h"

TEST(NoSong, CommandsDoNotFault) {
    lv::TSong song;
    lvtest::TFakeDialogs dialogs;
    dialogs.DefaultAnswer = true;
    song.Dialogs = &dialogs;
    for (const char* text : {"Song", "\r", "Artist", "\r", "la", "-la "}) {
        lv::THyphens h;
        h.Tick = 200;
        h.Text = text;
        song.Syllables.push_back(h);
    }
    song.SyllableCount = 6;

    lv::TEditorText editor;
    lv::StartMtcEditing(song, editor);
    EXPECT_EQ(editor.Lines.size(), 6u);
    EXPECT_NE(lv::FinishMtcEditing(song, editor).Status, lv::TMtcFinishStatus::TooFewLines);
    lv::LinkSyllables(song);
    lv::QuantizeLyrics(song);
    lv::UndoQuantizeLyrics(song);
    lv::MoveLyrics(song, 500);
    EXPECT_FALSE(lv::HideNote(song, 1000));
    EXPECT_FALSE(lv::UndoHideNote(song));
    lv::UpperCase(song, editor);
    lv::RemovePunctuation(song, editor);
    EXPECT_TRUE(lv::DeleteLyrics(song, editor));
    EXPECT_EQ(song.SyllableCount, 0);
}
