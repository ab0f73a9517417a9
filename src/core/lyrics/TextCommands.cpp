#include "lyrics/TextCommands.h"

#include <cmath>
#include <exception>
#include <iterator>
#include <limits>

#include "lyrics/Linking.h"
#include "lyrics/TextView.h"
#include "model/Errors.h"
#include "model/TimeMap.h"
#include "text/MessagesTiming.h"

namespace lv {

namespace {

bool IsLineBreak(const THyphens& e) {
    return e.Text == "\r";
}

// Text column of a syllable line in the punctuation pass: literal hyphens are
// written as "~" so that a hyphen at the end of a syllable is not read as
// "the word goes on" (the hyphens of the lyric survive the pass).
std::string HyphensEscaped(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '-') c = '~';
    return out;
}

// Written from the tick, as MTC editing does, so that every syllable keeps it.
std::string PositionOf(const TSong& song, const THyphens& e) {
    try {
        return TickToPosText(song, e.Tick < 0 ? 0 : e.Tick);
    } catch (const std::exception&) {
        return e.PosText;
    }
}

} // namespace

bool KeepsPunctuationChar(unsigned char c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    switch (c) {
    case ' ':
    case '#':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '-':
    case '/':
    case ':':
    case '_':
    case '|':
    case 0xC4:
    case 0xD6:
    case 0xDC:
    case 0xDF: // Ä Ö Ü ß
    case 0xE0:
    case 0xE1:
    case 0xE2:
    case 0xE4: // à á â ä
    case 0xE8:
    case 0xE9:
    case 0xEA:
    case 0xEC:
    case 0xED:
    case 0xEE: // è é ê ì í î
    case 0xF2:
    case 0xF3:
    case 0xF4:
    case 0xF6: // ò ó ô ö
    case 0xF9:
    case 0xFA:
    case 0xFB:
    case 0xFC: // ù ú û ü
        return true;
    default:
        return false;
    }
}

std::string StripPunctuation(const std::string& text) {
    std::string out;
    for (char c : text)
        if (KeepsPunctuationChar(static_cast<unsigned char>(c))) out += c;
    return out;
}

TMtcFinishResult RemovePunctuation(TSong& song, TEditorText& editor) {
    std::vector<std::string> lines;
    const std::int32_t count = std::min<std::int32_t>(
        song.SyllableCount, static_cast<std::int32_t>(song.Syllables.size()));
    for (std::int32_t i = 0; i < count; ++i) {
        const THyphens& e = song.Syllables[i];
        if (e.Text.empty()) continue;
        std::string line = PositionOf(song, e) + ' ';
        if (IsLineBreak(e)) {
            line += kNewLineMarker;
        } else {
            // The song name is taken as it is; syllables lose their punctuation.
            const std::string text = i == 0 ? e.Text : StripPunctuation(e.Text);
            line += HyphensEscaped(text);
            if (!text.empty() && text.back() != ' ') line += '-';
        }
        lines.push_back(std::move(line));
    }
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string& prev = lines[i - 1];
        if (lines[i].find(kNewLineMarker) != std::string::npos && !prev.empty() &&
            prev.back() == '-')
            prev.pop_back();
    }
    // Finishing ignores a text of two lines or fewer; entering MTC editing
    // with it would leave the user in a mode they cannot finish.
    if (lines.size() <= 2) return {TMtcFinishStatus::TooFewLines, 0};

    editor.Lines = std::move(lines);
    editor.SelStart = 0;
    editor.SelLength = 0;
    editor.ReadOnly = false;
    song.EditMode = true;
    return FinishMtcEditing(song, editor);
}

unsigned char UpperCaseChar(unsigned char c, std::int32_t fontCharset) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    switch (fontCharset) {
    case 0: // Windows-1252 (and the default set, taken as the same)
    case 1:
        switch (c) {
        case 0x9A:
            return 0x8A; // š
        case 0x9C:
            return 0x8C; // œ
        case 0x9E:
            return 0x8E; // ž
        case 0xFF:
            return 0x9F; // ÿ
        default:
            break;
        }
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
        return c;
    case 238: // Windows-1250
        switch (c) {
        case 0x9A:
            return 0x8A; // š
        case 0x9C:
            return 0x8C; // ś
        case 0x9D:
            return 0x8D; // ť
        case 0x9E:
            return 0x8E; // ž
        case 0x9F:
            return 0x8F; // ź
        case 0xB3:
            return 0xA3; // ł
        case 0xB9:
            return 0xA5; // ą
        case 0xBE:
            return 0xBC; // ľ
        case 0xBF:
            return 0xAF; // ż
        default:
            break;
        }
        if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
        return c;
    case 204: // Windows-1251
        switch (c) {
        case 0x83:
            return 0x81; // ѓ
        case 0x90:
            return 0x80; // ђ
        case 0x9A:
            return 0x8A; // љ
        case 0x9C:
            return 0x8C; // њ
        case 0x9D:
            return 0x8D; // ќ
        case 0x9E:
            return 0x8E; // ћ
        case 0x9F:
            return 0x8F; // џ
        case 0xA2:
            return 0xA1; // ў
        case 0xB3:
            return 0xB2; // і
        case 0xB4:
            return 0xA5; // ґ
        case 0xB8:
            return 0xA8; // ё
        case 0xBA:
            return 0xAA; // є
        case 0xBC:
            return 0xA3; // ј
        case 0xBE:
            return 0xBD; // ѕ
        case 0xBF:
            return 0xAF; // ї
        default:
            break;
        }
        if (c >= 0xE0) return static_cast<unsigned char>(c - 0x20);
        return c;
    default:
        return c; // a code page we have no table for: only ASCII letters change
    }
}

std::string UpperCaseText(const std::string& text, std::int32_t fontCharset) {
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(UpperCaseChar(static_cast<unsigned char>(c), fontCharset));
    return out;
}

void UpperCase(TSong& song, TEditorText& editor) {
    const std::int32_t count = std::min<std::int32_t>(
        song.SyllableCount, static_cast<std::int32_t>(song.Syllables.size()));
    for (std::int32_t i = 0; i < count; ++i) {
        THyphens& e = song.Syllables[i];
        if (i == 0 || !IsLineBreak(e)) e.Text = UpperCaseText(e.Text, song.Config.FontCharset);
    }
    editor.SetText(BuildViewText(song));
    editor.SelStart = 0;
    editor.SelLength = 0;
    // The writer writes events, not the table: without this a song saved now
    // would keep the old letters.
    RebuildLyricEvents(song);
}

bool HideNote(TSong& song, std::int32_t playerPositionMs) {
    if (song.MelodyNotes.empty()) return false;
    // The first visible note at or after the player position, in ticks.
    const std::int32_t target = song.TimeZones.empty() ? 0 : MsToTick(song, playerPositionMs);

    const auto last = std::prev(song.MelodyNotes.end());
    auto it = song.MelodyNotes.begin();
    if (it == last) return false;
    do {
        ++it;
    } while (it != last && !((it->Status & 0xF0) == 0x90 && it->Data2 != 0 && it->Flag == 0 &&
                             it->Tick >= target));
    if (it == last) return false;
    it->Flag = 1;
    song.LastHiddenNote = it;
    song.HasLastHiddenNote = true;
    LinkSyllables(song);
    return true;
}

bool UndoHideNote(TSong& song) {
    if (!song.HasLastHiddenNote) return false;
    song.LastHiddenNote->Flag = 0;
    LinkSyllables(song);
    song.HasLastHiddenNote = false;
    song.LastHiddenNote = {};
    return true;
}

bool DeleteLyrics(TSong& song, TEditorText& editor) {
    if (!song.UserDialogs().AskYesNo(Tr(song.Language, msg::DeleteLyricsQuestion), kAppTitle))
        return false;
    const std::size_t upTo = std::min(song.Tracks.size(), song.LyricsTrackIndex() + 1);
    for (std::size_t t = 0; t < upTo; ++t) {
        for (TMidiEvent& e : song.Tracks[t].Events) {
            if (e.IsMeta(5)) {
                e.Length = 0;
                e.Data.clear();
            }
        }
    }
    song.Syllables.clear();
    song.SyllableCount = 0;
    song.SelectedSyllable = -1;
    editor.Lines.assign(1, std::string());
    editor.SelStart = 0;
    editor.SelLength = 0;
    return true;
}

TFontSettings LoadFontSettings(const TConfiguration& c) {
    TFontSettings f;
    f.Bold = c.FontBold;
    f.Charset = c.FontCharset;
    f.Height = c.FontHeight;
    f.Italic = c.FontItalic;
    f.Name = c.FontName;
    f.Size = c.FontSize;
    f.StrikeOut = c.FontStrikeOut;
    f.Underline = c.FontUnderline;
    return f;
}

void StoreFontSettings(TConfiguration& c, const TFontSettings& f) {
    if (f.Charset < 0 || f.Charset > 255)
        throw ERangeError("font character set " + std::to_string(f.Charset) + " is not 0..255");
    c.FontBold = f.Bold;
    c.FontCharset = f.Charset;
    c.FontHeight = f.Height;
    c.FontItalic = f.Italic;
    c.FontName = f.Name;
    c.FontSize = f.Size;
    c.FontStrikeOut = f.StrikeOut;
    c.FontUnderline = f.Underline;
}

} // namespace lv
