// How long plain editing and the RTF reader take on a long lyric.
// Prints figures; nothing is asserted.
#include <chrono>
#include <cstdio>
#include <string>

#include "lyrics/EditorText.h"
#include "lyrics/RtfReader.h"
#include "lyrics/TextEditing.h"
#include "model/Song.h"
#include "model/TimeMap.h"

namespace {

lv::TSong MakeSong(std::int32_t songEnd) {
    lv::TSong song;
    song.SourceFormat = 1;
    song.TrackCount = 1;
    song.Division = 480;
    song.SongEndTick = songEnd;
    song.Tracks.resize(3);
    for (auto& t : song.Tracks)
        t.Events.push_back(lv::MakePortHead());
    song.LyricsTrack().Events.push_back(lv::MakeMetaEvent(3, "Lyrics", 0));
    song.PrompterTrack().Events.push_back(lv::MakeMetaEvent(3, "Suffloer", 0));
    for (auto& t : song.Tracks) {
        t.Events.push_back(lv::MakeEndOfTrack(songEnd));
        t.EventCount = 2;
        t.PlayCursor = t.Head();
    }
    lv::TTempo t0;
    t0.Tick = 0;
    t0.Tempo = t0.OrigTempo = t0.FileTempo = 500000;
    t0.BPM = 120;
    lv::TTempo end = t0;
    end.Tick = songEnd + 1;
    song.Tempos = {t0, end};
    song.TempoCount = 2;
    lv::TTimeSign s0;
    s0.Tick = 0;
    lv::TTimeSign s1 = s0;
    s1.Tick = songEnd + 1;
    song.TimeSigns = {s0, s1};
    song.TimeSignCount = 2;
    lv::BuildTimeZones(song);
    return song;
}

double Ms(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

} // namespace

int main() {
    using clock = std::chrono::steady_clock;
    for (int lines : {100, 1000, 10000}) {
        lv::TSong song = MakeSong(lines * 2000);
        lv::TEditorText editor;
        editor.Lines = {"Song", "Artist"};
        for (int i = 0; i < lines; ++i)
            editor.Lines.push_back("Hel-lo my dear-est love");
        auto a = clock::now();
        lv::FinishEditing(song, editor);
        auto b = clock::now();
        // One word inserted in the middle: the carry-over walks the whole table.
        lv::StartEditing(song, editor);
        editor.Lines[std::size_t(lines / 2)] += " new";
        auto c = clock::now();
        lv::FinishEditing(song, editor);
        auto d = clock::now();
        std::printf("lines %6d  entries %7d  first finish %8.2f ms  edit and finish %8.2f ms\n",
                    lines, song.SyllableCount, Ms(a, b), Ms(c, d));
    }
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}";
    while (rtf.size() < 10'000'000)
        rtf += "{\\pard\\f0\\fs24 Hel-lo w\\u246?rld \\'e4 it\\rquote s\\par}\r\n";
    rtf += "}";
    auto a = clock::now();
    const std::string text = lv::RtfToPlainText(rtf);
    auto b = clock::now();
    std::printf("RTF %.1f MB -> %.1f MB text in %.1f ms (%.0f MB/s)\n", rtf.size() / 1e6,
                text.size() / 1e6, Ms(a, b), rtf.size() / 1e3 / Ms(a, b));
    return 0;
}
