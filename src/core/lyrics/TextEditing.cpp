#include "lyrics/TextEditing.h"

#include <algorithm>
#include <cstdint>

#include "lyrics/TextView.h"
#include "model/TimeMap.h"
#include "text/MessagesLyrics.h"

namespace lv {

namespace {

bool IsLineBreak(const THyphens& h) {
    return h.Text == "\r";
}

bool IsBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' '; });
}

void TrimTrailingBlanks(std::string& s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
}

// "_" is a blank inside a syllable, "=" a literal hyphen.
std::string Unescape(std::string s) {
    for (char& c : s) {
        if (c == '_')
            c = ' ';
        else if (c == '=')
            c = '-';
    }
    return s;
}

// Ticks stay 32-bit; a song ending near the top of the range must not wrap.
std::int32_t ClampTick(std::int64_t tick) {
    return std::int32_t(std::clamp<std::int64_t>(tick, INT32_MIN, INT32_MAX));
}

void AddEntry(AHyphens& out, std::string text) {
    THyphens h;
    h.Text = std::move(text);
    out.push_back(std::move(h));
}

// Menu items and their enabled state in normal / editing / MTC editing.
struct TMenuRow {
    const char* Name;
    bool Normal, Editing, Mtc;
    bool FollowsUndoHideNote; // normal state: only when a hidden note can be restored
};
constexpr TMenuRow kMenuRows[] = {
    {"MainMenu_DateiSpeichern", true, false, false, false},
    {"MainMenu_DateiSpeichernUnter", true, false, false, false},
    {"MainMenu_TextAssign", true, false, false, false},
    {"MainMenu_TextDelete", true, false, false, false},
    {"MainMenu_TextExtractPunctuation", true, false, false, false},
    {"MainMenu_TextUpperCase", true, false, false, false},
    {"MainMenu_TextHideNote", true, false, false, false},
    {"MainMenu_TextEdit", true, true, false, false},
    {"MainMenu_TextEditMTC", true, false, true, false},
    {"MainMenu_TextHyphenate", false, true, false, false},
    {"MainMenu_TextLaden", true, true, false, false},
    {"MainMenu_TextMove", true, false, false, false},
    {"MainMenu_TextQuantize", true, false, false, false},
    {"MainMenu_TextSpeichern", true, false, false, false},
    {"MainMenu_TextSpeichernUnter", true, false, false, false},
    {"MainMenu_TextUndoHideNote", true, false, false, true},
    {"PopupMenu_TextAssign", true, false, false, false},
    {"PopupMenu_TextHideNote", true, false, false, false},
    {"PopupMenu_TextEdit", true, true, false, false},
    {"PopupMenu_TextEditMTC", true, false, true, false},
    {"PopupMenu_TextHyphenate", false, true, false, false},
    {"PopupMenu_TextUndoHideNote", true, false, false, true},
};

} // namespace

std::vector<std::pair<std::string, bool>> TextMenuEnabled(TTextMenuState state,
                                                          bool undoHideNotePossible) {
    std::vector<std::pair<std::string, bool>> out;
    for (const TMenuRow& row : kMenuRows) {
        bool on = state == TTextMenuState::Normal    ? row.Normal
                  : state == TTextMenuState::Editing ? row.Editing
                                                     : row.Mtc;
        if (state == TTextMenuState::Normal && row.FollowsUndoHideNote) on = undoHideNotePossible;
        out.emplace_back(row.Name, on);
    }
    return out;
}

bool IsFileSaveItem(const std::string& itemName) {
    return itemName == "MainMenu_DateiSpeichern" || itemName == "MainMenu_DateiSpeichernUnter";
}

std::vector<std::pair<std::string, std::string>> TextMenuCaptions(TTextMenuState state,
                                                                  const std::string& language) {
    const TMessage& edit =
        state == TTextMenuState::Editing ? msg::CaptionFinishEditing : msg::CaptionEdit;
    const TMessage& mtc =
        state == TTextMenuState::MtcEditing ? msg::CaptionFinishEditingMtc : msg::CaptionEditMtc;
    return {{"MainMenu_TextEdit", Tr(language, edit)},
            {"PopupMenu_TextEdit", Tr(language, edit)},
            {"MainMenu_TextEditMTC", Tr(language, mtc)},
            {"PopupMenu_TextEditMTC", Tr(language, mtc)}};
}

// ---------------------------------------------------------------------------
// Table -> text

namespace {

// The editor text with "\r\n" line ends; startOf[i] is where entry i begins,
// endOf[i] where it ends together with its separator.
struct TBuiltText {
    std::string Text;
    std::vector<std::int32_t> StartOf, EndOf;
};

TBuiltText BuildLyricText(const TSong& song) {
    TBuiltText b;
    const std::int32_t count =
        std::clamp<std::int32_t>(song.SyllableCount, 0, std::int32_t(song.Syllables.size()));
    b.StartOf.assign(std::size_t(count), 0);
    b.EndOf.assign(std::size_t(count), 0);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string& src = song.Syllables[std::size_t(i)].Text;
        b.StartOf[std::size_t(i)] = std::int32_t(b.Text.size());
        if (!src.empty()) {
            std::string t = src;
            for (std::size_t c = 0; c + 1 < t.size(); ++c)
                if (t[c] == ' ') t[c] = '_';
            std::replace(t.begin(), t.end(), '-', '=');
            b.Text += t;
            if (t.back() == '\r') {
                b.Text += '\n';
            } else if (t.back() != ' ' && i + 1 < count &&
                       !IsLineBreak(song.Syllables[std::size_t(i) + 1])) {
                b.Text += '-';
            }
        }
        b.EndOf[std::size_t(i)] = std::int32_t(b.Text.size());
    }
    return b;
}

} // namespace

std::vector<std::string> LyricTextLines(const TSong& song) {
    TEditorText e;
    e.SetText(BuildLyricText(song).Text);
    return e.Lines;
}

TEditCaret StartEditing(TSong& song, TEditorText& editor) {
    const TBuiltText built = BuildLyricText(song);
    editor.SetText(built.Text);
    TEditCaret caret;
    const std::int32_t b = song.SelectedSyllable;
    if (b >= 0 && b < std::int32_t(built.StartOf.size())) {
        // The line of the selected entry, then the end of the fourth line after it.
        std::size_t line = 0;
        const std::int32_t start = built.StartOf[std::size_t(b)];
        for (std::int32_t p = 0; p + 1 < start; ++p)
            if (built.Text[std::size_t(p)] == '\r' && built.Text[std::size_t(p) + 1] == '\n')
                ++line;
        const std::size_t target = std::min(line + 4, editor.Lines.size() - 1);
        std::int32_t pos = 0;
        for (std::size_t l = 0; l <= target; ++l) {
            pos += std::int32_t(editor.Lines[l].size());
            if (l < target) pos += 2;
        }
        caret.ScrollCaret = pos;
        caret.Caret = built.EndOf[std::size_t(b)];
    }
    editor.SelStart = caret.Caret;
    editor.SelLength = 0;
    editor.ReadOnly = false;
    song.EditMode = true;
    return caret;
}

// ---------------------------------------------------------------------------
// Text -> table

void CleanUpLines(std::vector<std::string>& lines) {
    std::size_t first = 0;
    while (first < lines.size() && IsBlank(lines[first]))
        ++first;
    lines.erase(lines.begin(), lines.begin() + std::ptrdiff_t(first));
    // From the third line on, a blank line directly after a blank line goes.
    std::vector<std::string> kept;
    kept.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i >= 2 && IsBlank(lines[i]) && !kept.empty() && IsBlank(kept.back())) continue;
        kept.push_back(std::move(lines[i]));
    }
    while (!kept.empty() && IsBlank(kept.back()))
        kept.pop_back();
    lines = std::move(kept);
}

bool NormaliseLine(std::string& line, int tabColumns) {
    if (tabColumns < 1) tabColumns = 1;
    std::string out;
    out.reserve(line.size());
    bool changed = false;
    for (char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\t') {
            const std::size_t column = out.size() + 1; // counted from 1
            const std::size_t tc = std::size_t(tabColumns);
            const std::size_t stop = (column + tc - 1) / tc * tc;
            out.append(stop - column + 1, ' ');
            changed = true;
        } else if (u == 0xB4 || u == 0x60 || u == 0x82 || u == 0x91 || u == 0x92) {
            out += '\'';
            changed = true;
        } else {
            out += c;
        }
    }
    if (changed) line = std::move(out);
    return changed;
}

AHyphens TokeniseLyricText(const std::vector<std::string>& lines) {
    AHyphens out;
    for (std::size_t li = 0; li < lines.size(); ++li) {
        std::string line = lines[li];
        if (li < 2) {
            if (!IsBlank(line)) {
                TrimTrailingBlanks(line);
                AddEntry(out, Unescape(line));
            }
            AddEntry(out, "\r");
            continue;
        }
        if (IsBlank(line)) {
            AddEntry(out, "\r");
            continue;
        }
        TrimTrailingBlanks(line);
        // Dash placeholders at the start of the line.
        while (line.compare(0, 4, "----") == 0) {
            const std::size_t space = line.find(' ');
            std::string entry = line.substr(0, space);
            if (line.size() != 4) entry += ' ';
            AddEntry(out, std::move(entry));
            std::size_t cut = 0;
            while (cut < line.size() && line[cut] == '-')
                ++cut;
            while (cut < line.size() && line[cut] == ' ')
                ++cut;
            line.erase(0, cut);
        }
        // Syllables.
        const std::size_t n = line.size();
        std::size_t pos = 0;
        while (pos < n) {
            std::string token;
            while (pos < n && line[pos] == ' ')
                token += line[pos++];
            if (pos >= n) break;  // cannot happen on a trimmed line; kept for safety
            token += line[pos++]; // the first non-blank character, even a hyphen
            while (pos < n && line[pos] != ' ' && line[pos] != '-')
                token += line[pos++];
            if (pos < n) {
                if (line[pos] == ' ') {
                    token += ' ';
                } else if (pos == n - 1) {
                    token += '-'; // a hyphen ending the line stays in the last syllable
                }
                ++pos;
            }
            AddEntry(out, Unescape(std::move(token)));
        }
        if (li + 1 < lines.size()) AddEntry(out, "\r");
    }
    return out;
}

void CarryOverTicks(const AHyphens& oldEntries, std::int32_t oldCount, AHyphens& fresh,
                    std::int32_t songEndTick) {
    const std::int32_t count =
        std::clamp<std::int32_t>(oldCount, 0, std::int32_t(oldEntries.size()));
    const std::int32_t k = std::int32_t(fresh.size());
    auto at = [&](std::int32_t i) -> THyphens& { return fresh[std::size_t(i)]; };
    auto nearEnd = [&](std::int32_t q) {
        return ClampTick(std::int64_t(songEndTick) - 10 * (std::int64_t(k) - q + 1));
    };

    std::int32_t firstChange = -1;
    for (std::int32_t q = 0; q < k; ++q) {
        if (q < count) {
            const THyphens& old = oldEntries[std::size_t(q)];
            if (old.Text == at(q).Text || k == count) {
                at(q).Tick = old.Tick;
                at(q).SavedTick = old.SavedTick;
                continue;
            }
            if (firstChange < 0) firstChange = q;
        }
        at(q).Tick = nearEnd(q);
        at(q).SavedTick = at(q).Tick;
    }

    // Tick of the neighbour before / after index i, stepping over one line break.
    // Returns false when that neighbour does not exist.
    auto tickBefore = [&](std::int32_t i, std::int32_t& tick) {
        std::int32_t j = i - 1;
        if (j >= 0 && IsLineBreak(at(j))) --j;
        if (j < 0) return false;
        tick = at(j).Tick;
        return true;
    };
    auto tickAfter = [&](std::int32_t i, std::int32_t& tick) {
        std::int32_t j = i + 1;
        if (j < k && IsLineBreak(at(j))) ++j;
        if (j >= k) return false;
        tick = at(j).Tick;
        return true;
    };
    auto place = [&](std::int32_t i, std::int64_t tick) {
        at(i).Tick = ClampTick(tick);
        at(i).SavedTick = at(i).Tick;
    };

    if (firstChange > 3) {
        std::int32_t o = count - 1, r = k - 1;
        while (o > 0 && r > 0) {
            if (r == firstChange) {
                // One inserted or changed syllable: halfway between its neighbours.
                std::int32_t before = 0, after = 0;
                if (tickBefore(r, before) && tickAfter(r, after)) {
                    place(r, before + (std::int64_t(after) - before) / 2);
                    if (IsLineBreak(at(r + 1))) place(r + 1, std::int64_t(at(r).Tick) + 10);
                }
                break;
            }
            if (at(r).Text == oldEntries[std::size_t(o)].Text) {
                at(r).Tick = oldEntries[std::size_t(o)].Tick;
                at(r).SavedTick = oldEntries[std::size_t(o)].SavedTick;
                --o;
                --r;
                continue;
            }
            // A changed region firstChange .. r: spread it when it is small.
            std::int32_t before = 0, after = 0;
            if (r < k - 2 && r - firstChange < 5 && tickBefore(firstChange, before) &&
                tickAfter(r, after)) {
                std::int64_t n = 0;
                for (std::int32_t i = firstChange; i <= r; ++i)
                    if (!IsLineBreak(at(i))) ++n;
                const std::int64_t step = (std::int64_t(after) - before) / (n + 1);
                std::int64_t i = 0;
                for (std::int32_t j = firstChange; j <= r; ++j) {
                    if (IsLineBreak(at(j)))
                        place(j, std::int64_t(at(j - 1).Tick) + 4);
                    else
                        place(j, before + (++i) * step);
                }
                if (IsLineBreak(at(r + 1))) place(r + 1, std::int64_t(at(r).Tick) + 4);
            }
            break;
        }
    }

    // Header: title at 108, its line break at 112, the artist line just before
    // the first lyric entry.
    auto lb = [&](std::int32_t i) { return i < k && IsLineBreak(at(i)); };
    auto tickOf = [&](std::int32_t i) { return at(i).Tick; };
    if (k > 0) at(0).Tick = 108;
    if (lb(1)) {
        at(1).Tick = 112;
        if (lb(2)) {
            if (k > 3) at(2).Tick = ClampTick(std::int64_t(tickOf(3)) - 4);
        } else if (lb(3)) {
            if (k > 4) {
                at(2).Tick = ClampTick(std::int64_t(tickOf(4)) - 8);
                at(3).Tick = ClampTick(std::int64_t(tickOf(4)) - 4);
            }
        } else if (lb(4)) {
            if (k > 5) {
                at(2).Tick = ClampTick(std::int64_t(tickOf(5)) - 12);
                at(3).Tick = ClampTick(std::int64_t(tickOf(5)) - 8);
                at(4).Tick = ClampTick(std::int64_t(tickOf(5)) - 4);
            }
        }
    }
    // Every entry at least as late as the one before it.
    for (std::int32_t q = 1; q < k; ++q)
        if (at(q).Tick < at(q - 1).Tick) at(q).Tick = ClampTick(std::int64_t(at(q - 1).Tick) + 4);
}

bool FinishEditing(TSong& song, TEditorText& editor) {
    if (editor.Lines.size() <= 2) return false;
    if (song.RulesQuestionPending) {
        if (!song.UserDialogs().AskYesNo(Tr(song.Language, msg::RulesQuestion), kAppTitle))
            return false;
        song.RulesQuestionPending = false;
    }
    CleanUpLines(editor.Lines);
    song.LyricsRecorded = false;
    for (std::string& line : editor.Lines)
        NormaliseLine(line, 5);

    AHyphens fresh = TokeniseLyricText(editor.Lines);
    CarryOverTicks(song.Syllables, song.SyllableCount, fresh, song.SongEndTick);
    if (song.TimeZoneCount > 0)
        for (THyphens& h : fresh)
            h.PosText = TickToPosText(song, h.Tick);

    std::string view;
    for (const THyphens& h : fresh) {
        view += h.Text;
        if (IsLineBreak(h)) view += '\n';
    }
    song.Syllables = std::move(fresh);
    song.SyllableCount = std::int32_t(song.Syllables.size());
    editor.SetText(view);
    editor.SelStart = 0;
    editor.SelLength = 0;
    editor.ReadOnly = true;

    const THighlight hl = HighlightSyllable(song, song.SelectedSyllable, editor.Text());
    if (hl.Apply) {
        editor.SelStart = hl.SelStart;
        editor.SelLength = hl.SelEnd - hl.SelStart;
    }
    song.EditMode = false;
    RebuildLyricEvents(song);
    return true;
}

} // namespace lv
