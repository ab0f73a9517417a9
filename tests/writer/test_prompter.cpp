// The prompter controller stream: the worked example value by value, the
// cursor commands, and the stream read back through the decoder.
#include <gtest/gtest.h>

#include "FakeDialogs.h"
#include "WriterTestSupport.h"
#include "writer/Prompter.h"
#include "writer/PrompterDecoder.h"
#include "writer/PrompterStream.h"
#include "writer/Writer.h"

using namespace lvtest;

namespace {

lv::TSong PrompterSong(const std::vector<std::pair<std::int32_t, std::string>>& rows,
                       std::int32_t end = 7680) {
    TSongSetup setup;
    setup.SongEndTick = end;
    lv::TSong s = MakeSong(setup);
    s.SongLoaded = true;
    s.Config.SufflorEnabled = true;
    SetSyllables(s, rows);
    return s;
}

// (tick, value) of the prompter controller events of a track.
std::vector<std::pair<std::int32_t, int>> StreamOf(const lv::TSong& s, std::size_t track) {
    std::vector<std::pair<std::int32_t, int>> out;
    for (const auto& e : s.Tracks[track].Events)
        if (e.Kind == 1 && e.Status == (0xB0 | s.Config.SufflorMidiChannel) &&
            e.Data1 == s.Config.SufflorCmdController)
            out.emplace_back(e.Tick, e.Data2);
    return out;
}

lv::TPrompterStreamView Decode(const lv::TSong& s) {
    return lv::DecodePrompterStream(s.Tracks[s.PrompterTrackIndexOfModel()].Events,
                                    s.Config.SufflorMidiChannel, s.Config.SufflorCmdController);
}

} // namespace

TEST(Prompter, WorkedExampleValueByValue) {
    lv::TSong s = PrompterSong({{480, "Hi"}});
    lv::BuildPrompterTrack(s);
    std::vector<int> values = {24};
    for (char c : std::string("Quillet MX-40"))
        values.push_back(c);
    for (int v : {25, 15, 18, 29, 19, 29, 22, int('H'), int('i'), 23, 12})
        values.push_back(v);
    std::vector<std::pair<std::int32_t, int>> want;
    for (std::size_t k = 0; k < values.size(); ++k)
        want.emplace_back(static_cast<std::int32_t>(4 + 4 * k), values[k]);
    ASSERT_EQ(want[20].first, 84); // 21 header values
    // the entry is due at 480 - 144 = 336, after the text: unframed
    for (auto [t, v] : {std::pair{336, 9}, {340, 30}, {344, 10}, {348, 28}})
        want.emplace_back(t, v);
    EXPECT_EQ(StreamOf(s, s.PrompterTrackIndexOfModel()), want);
    EXPECT_EQ(s.PrompterTrackIndex, s.TrackCount + 1);
    EXPECT_EQ(CheckTrackInvariants(s), "");

    // and the same stream in the written file, with running status
    const lv::AByte img = lv::BuildFormat1Image(s); // format 1, so split: prompter last
    TTrackBuilder chunk;
    chunk.Meta(0, 0x21, std::string(1, '\0')).Name(0, "Suffloer");
    std::int32_t prev = 0;
    bool first = true;
    for (auto [tick, v] : want) {
        if (first)
            chunk.Control(tick - prev, 15, 98, v);
        else
            chunk.Raw(tick - prev, {98, v});
        first = false;
        prev = tick;
    }
    chunk.EndOfTrack(7680 - prev);
    lv::AByte tail = {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<std::uint8_t>(chunk.Body.size())};
    tail.insert(tail.end(), chunk.Body.begin(), chunk.Body.end());
    ASSERT_GT(img.size(), tail.size());
    EXPECT_EQ(Hex(lv::AByte(img.end() - static_cast<long>(tail.size()), img.end())), Hex(tail));
}

TEST(Prompter, RebuildReplacesTheOldStream) {
    lv::TSong s = PrompterSong({{480, "Hi"}, {600, "there"}});
    s.Config.SufflorForYamaha = true;
    lv::BuildPrompterTrack(s);
    const auto firstEvents = s.Tracks[s.PrompterTrackIndexOfModel()].Events.size();
    const auto firstCount = s.Tracks[s.PrompterTrackIndexOfModel()].EventCount;
    lv::BuildPrompterTrack(s);
    EXPECT_EQ(s.Tracks[s.PrompterTrackIndexOfModel()].Events.size(), firstEvents);
    EXPECT_EQ(s.Tracks[s.PrompterTrackIndexOfModel()].EventCount, firstCount);
    // Yamaha start note at 3 and its end at 6
    auto it = std::next(s.Tracks[s.PrompterTrackIndexOfModel()].Events.begin(), 2);
    EXPECT_EQ(it->Status, 0x9F);
    EXPECT_EQ(it->Tick, 3);
    EXPECT_EQ(it->Data2, 3);
    EXPECT_EQ(std::next(it, 2)->Tick, 6);
    EXPECT_EQ(std::next(it, 2)->Data2, 0);
}

TEST(Prompter, HeaderSettingsAndCharacterCoding) {
    lv::TSong s = PrompterSong({{2000, "\xFC"
                                       "b\x96"
                                       "er"}});
    s.Config.SufflorFont = 3;
    s.Config.SufflorFontHeight = 5;
    s.Config.SufflorInversVideo = true;
    lv::BuildPrompterTrack(s);
    const auto v = Decode(s);
    EXPECT_TRUE(v.HasSignature);
    EXPECT_EQ(v.Font, 3);
    EXPECT_EQ(v.FontHeight, 5);
    EXPECT_TRUE(v.InverseVideo);
    EXPECT_EQ(v.Text, "\xFC"
                      "ber"); // code 150 has no place on the display
    const auto stream = StreamOf(s, s.PrompterTrackIndexOfModel());
    // 22 header values, then 27 124 for the umlaut
    ASSERT_GT(stream.size(), 24u);
    EXPECT_EQ(stream[22].second, 27);
    EXPECT_EQ(stream[23].second, 124);
    EXPECT_TRUE(v.Problems.empty());
}

TEST(Prompter, CursorCommandsFollowTheLines) {
    struct Case {
        const char* Name;
        std::vector<std::pair<std::int32_t, std::string>> Rows;
        std::string Copyright;
        // expected (line, column) of every command, in order
        std::vector<std::pair<int, int>> Cursors;
        std::string Text;
    };
    const std::vector<Case> cases = {
        {"a line break right after a syllable gets no command",
         {{2000, "La"}, {2010, "\r"}, {2400, "le "}, {2500, "lu"}},
         "",
         {{0, 2}, {1, 3}, {1, 5}},
         "La\rle lu"},
        {"copyright line comes first",
         {{2000, "Ti"}, {2400, "\r"}, {2800, "Per"}},
         "(c) Me",
         {{0, 6}, {1, 2}, {2, 3}},
         "(c) Me\rTi\rPer"},
        {"column stops at 79",
         {{2000, std::string(100, 'x')}},
         "",
         {{0, 79}},
         std::string(100, 'x')},
    };
    for (const auto& c : cases) {
        lv::TSong s = PrompterSong(c.Rows);
        s.Config.CopyrightString = c.Copyright;
        lv::BuildPrompterTrack(s);
        const auto v = Decode(s);
        EXPECT_EQ(v.Text, c.Text) << c.Name;
        std::vector<std::pair<int, int>> got;
        for (const auto& cur : v.Cursors)
            got.emplace_back(cur.Line, cur.Column);
        EXPECT_EQ(got, c.Cursors) << c.Name;
        EXPECT_TRUE(v.Problems.empty())
            << c.Name << ": " << (v.Problems.empty() ? "" : v.Problems[0]);
    }
}

TEST(Prompter, EarlySyllablesCatchUpOneCommandPerTextValue) {
    // Syllables at 200.. are due (after the 144-tick lead) long before the
    // header ends; their commands follow the text values one by one.
    lv::TSong s = PrompterSong({{200, "ab"}, {204, "cd"}, {208, "ef"}});
    lv::BuildPrompterTrack(s);
    const auto v = Decode(s);
    ASSERT_EQ(v.Cursors.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(v.Cursors[i].Framed);
        EXPECT_EQ(v.Cursors[i].Column, static_cast<int>(2 * (i + 1)));
    }
    // after the first character, after the next character (the third comes after "c")
    EXPECT_EQ(v.Cursors[0].TextPosition, 1u);
    EXPECT_EQ(v.Cursors[1].TextPosition, 2u);
    EXPECT_EQ(v.Cursors[2].TextPosition, 3u);
    EXPECT_EQ(v.Text, "abcdef");
}

TEST(Prompter, LateCommandsNeverInterleave) {
    // Many syllables 4 ticks apart after the end of the stream: each unframed
    // command must still arrive whole, in order.
    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (int i = 0; i < 12; ++i)
        rows.emplace_back(3000 + 4 * i, "x");
    lv::TSong s = PrompterSong(rows);
    lv::BuildPrompterTrack(s);
    const auto v = Decode(s);
    EXPECT_TRUE(v.Problems.empty()) << v.Problems[0];
    ASSERT_EQ(v.Cursors.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_FALSE(v.Cursors[i].Framed);
        EXPECT_EQ(v.Cursors[i].Column, i + 1);
        if (i > 0) {
            EXPECT_GE(v.Cursors[i].Tick, v.Cursors[i - 1].Tick + 16);
        }
    }
    EXPECT_EQ(v.Cursors[0].Tick, 3000 - 144);
}

TEST(Prompter, HundredLinesAndMoreUseSixByteCommands) {
    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (int i = 0; i < 205; ++i) {
        rows.emplace_back(1000 + 40 * i, "w");
        rows.emplace_back(1000 + 40 * i + 20, "\r");
    }
    rows.emplace_back(20000, "end");
    lv::TSong s = PrompterSong(rows, 40000);
    lv::BuildPrompterTrack(s);
    const auto v = Decode(s);
    EXPECT_TRUE(v.Problems.empty());
    ASSERT_FALSE(v.Cursors.empty());
    EXPECT_EQ(v.Cursors.back().Line, 205);
    EXPECT_EQ(v.Cursors.back().Column, 3);
    // the six-byte form carries 16, (line div 100) + 28
    const auto stream = StreamOf(s, s.PrompterTrackIndexOfModel());
    bool sawHundreds = false;
    for (std::size_t i = 0; i + 5 < stream.size(); ++i)
        if (stream[i].second == 9 && stream[i + 2].second == 16 && stream[i + 3].second == 30 &&
            stream[i + 4].second == 10 && stream[i + 5].second == 33)
            sawHundreds = true; // line 205
    EXPECT_TRUE(sawHundreds);
}

TEST(Prompter, TenThousandLinesStopWithAMessage) {
    std::vector<std::pair<std::int32_t, std::string>> rows;
    for (int i = 0; i < 10000; ++i)
        rows.emplace_back(100 + 8 * i, "\r");
    lv::TSong s = PrompterSong(rows, 200000);
    TFakeDialogs dialogs;
    s.Dialogs = &dialogs;
    lv::BuildPrompterTrack(s);
    ASSERT_EQ(dialogs.Log.size(), 1u);
    EXPECT_EQ(dialogs.Log[0].Text, "Es werden nicht mehr als 10000 Zeilen unterstützt!");
    EXPECT_EQ(dialogs.Log[0].Caption, "Lyrivox - Warnung");
    EXPECT_TRUE(StreamOf(s, s.PrompterTrackIndexOfModel()).empty());
}

TEST(Prompter, ValuesAtOrAfterTheSongEndAreLeftOut) {
    lv::TSong s = PrompterSong({{60, "Hello"}}, 50);
    lv::BuildPrompterTrack(s);
    const auto stream = StreamOf(s, s.PrompterTrackIndexOfModel());
    ASSERT_FALSE(stream.empty());
    EXPECT_LT(stream.back().first, 50);
    EXPECT_EQ(CheckTrackInvariants(s), "");
}

TEST(ClearSongStart, MovesEarlyEventsAndNeutralisesStrayCommands) {
    TSongSetup setup;
    setup.SongEndTick = 960;
    setup.BuildTimes = false;
    lv::TSong s = MakeSong(setup);
    for (int t : {0, 4, 10, 60, 61, 100})
        AddEvent(s, 0, lv::MakeShortEvent(0x90, 60, 1, t));
    AddEvent(s, 0, lv::MakeShortEvent(0xBF, 98, 5, 200)); // an old prompter value
    AddEvent(s, 0, lv::MakeShortEvent(0xBE, 98, 5, 200)); // other channel: stays
    lv::ClearSongStart(s);
    std::vector<std::int32_t> ticks;
    for (const auto& e : s.Tracks[0].Events)
        ticks.push_back(e.Tick);
    EXPECT_EQ(ticks, (std::vector<std::int32_t>{0, 0, 61, 62, 63, 63, 100, 200, 200, 960}));
    auto stray = std::next(s.Tracks[0].Events.begin(), 7);
    EXPECT_TRUE(stray->IsMeta(1));
    EXPECT_EQ(stray->Length, 0);
    EXPECT_EQ(std::next(stray)->Status, 0xBE);
    // the writer leaves the neutralised command out
    const lv::AByte img = lv::BuildFormat1Image(s);
    EXPECT_EQ(std::string(img.begin(), img.end()).find(std::string("\xFF\x01\x00", 3)),
              std::string::npos);
}
