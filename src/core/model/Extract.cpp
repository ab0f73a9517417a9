#include "model/Extract.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "model/Errors.h"

namespace lv {

namespace {

constexpr int kLyricType = 5;
constexpr int kTextType = 1;
// At least this many events of one type make a track the lyrics source.
constexpr std::int32_t kMinSourceEvents = 5;
// Entries are indexed in 16 bits.
constexpr std::size_t kMaxEntries = 65536;

const char* const kCopyrightWords[] = {"all rights reserved", "copyright", "sonarvell", "zinda-lu",
                                       "zindalu"};

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool IsDigit(char c, char from) {
    return c >= from && c <= '9';
}

// The blanks-trimmed text is empty.
bool TrimmedEmpty(const std::string& s) {
    return IsBlank(s);
}

class TExtractor {
  public:
    explicit TExtractor(TSong& song) : song_(song) {}

    void Run() {
        song_.Syllables.clear();
        if (!ChooseSource()) return;
        Walk();
        Normalise();
    }

  private:
    bool ChooseSource() {
        // The file tracks and the lyrics track; the prompter track is not looked at.
        const std::size_t tracks =
            std::min<std::size_t>(song_.TrackCount + 1u, song_.Tracks.size());
        std::int32_t bestLyrics = 0, bestText = 0;
        std::size_t lyricTrack = 0, textTrack = 0;
        for (std::size_t i = 0; i < tracks; ++i) {
            const auto& events = song_.Tracks[i].Events;
            if (events.empty()) continue;
            std::int32_t lyrics = 0, texts = 0;
            for (auto it = events.begin(); std::next(it) != events.end(); ++it) {
                if (it->IsMeta(kTextType)) ++texts;
                if (it->IsMeta(kLyricType)) ++lyrics;
            }
            if (lyrics > bestLyrics) bestLyrics = lyrics, lyricTrack = i;
            if (texts > bestText) bestText = texts, textTrack = i;
        }
        if (bestLyrics >= kMinSourceEvents) {
            song_.LyricSourceType = kLyricType;
            song_.LyricSourceTrack = static_cast<std::int32_t>(lyricTrack);
            table_.reserve(static_cast<std::size_t>(bestLyrics) + 1);
        } else if (bestText >= kMinSourceEvents) {
            song_.LyricSourceType = kTextType;
            song_.LyricSourceTrack = static_cast<std::int32_t>(textTrack);
            table_.reserve(static_cast<std::size_t>(bestText) + 1);
        } else {
            NoLyrics();
            song_.LyricSourceType = kLyricType;
            song_.LyricSourceTrack = 0;
            return false;
        }
        type_ = song_.LyricSourceType;
        return true;
    }

    void NoLyrics() {
        song_.SyllableCursor = 0;
        song_.SyllableCount = 0;
        song_.Syllables.clear();
    }

    // Each event gives one entry; line ends inside a text give extra entries.
    // The table simply grows, so both kinds are stored alike.
    void Store(std::int32_t tick, std::string text) {
        THyphens h;
        h.Tick = h.SavedTick = tick;
        h.Text = std::move(text);
        table_.push_back(std::move(h));
    }
    void StoreExtra(std::int32_t tick, std::string text) { Store(tick, std::move(text)); }

    // Unlinks and releases a source event. Lyric events are counted in their
    // track; text events never were.
    TEventIt Drop(TTrack& track, TEventIt it) {
        if (it->IsMeta(kLyricType) && track.EventCount > 2) --track.EventCount;
        return track.Events.erase(it);
    }

    // Karaoke header conventions of text tracks; a discarded event gets length 0.
    void Headers(TMidiEvent& e) {
        auto discard = [&e] {
            e.Data.clear();
            e.Length = 0;
        };
        if (StartsWith(e.Data, "%")) discard();
        if (e.Data.size() > 1 && (StartsWith(e.Data, "@I") || StartsWith(e.Data, "@K") ||
                                  StartsWith(e.Data, "@L") || StartsWith(e.Data, "@V"))) {
            if (StartsWith(e.Data, "@K")) headerSkip_ = true;
            discard();
        }
        if (headerSkip_ && e.Data.size() > 1 && !StartsWith(e.Data, "@")) {
            if (StartsWith(e.Data, "\\"))
                headerSkip_ = false;
            else
                discard();
        }
        if (e.Data.size() > 1 && StartsWith(e.Data, "@T")) {
            std::string text = e.Data.substr(2);
            text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
            text.insert(0, 1, '/');
            if (text.size() > 1) {
                e.Data = std::move(text);
                e.Length = static_cast<std::int32_t>(e.Data.size());
            } else {
                discard();
            }
        }
    }

    bool IsChordHelper(const std::string& data) const {
        if (!song_.Config.XF_DeleteChordHelper || data.size() >= 7) return false;
        const auto at = data.find("----");
        return at != std::string::npos && at <= 4;
    }

    bool IsCopyright(const std::string& t) const {
        const std::string& own = song_.Config.CopyrightString;
        if (own.empty()) return false;
        const std::string lower = Lower(t);
        for (const char* word : kCopyrightWords)
            if (lower.find(word) != std::string::npos) return true;
        return lower.find(Lower(own)) != std::string::npos;
    }

    static void NormaliseLineEnd(TMidiEvent& e) {
        const auto lf = e.Data.find('\n');
        if (lf == std::string::npos) return;
        if (e.Data.find('\r') == std::string::npos)
            e.Data[lf] = '\r';
        else
            e.Data.erase(lf, 1);
        e.Length = static_cast<std::int32_t>(e.Data.size());
    }

    static std::string WorkingText(const std::string& data) {
        if (!data.empty() && data[0] == '\0') return {};
        return data.substr(0, data.find('\0'));
    }

    // Splits a text at its line ends into syllable and line-break entries.
    void StoreLines(std::int32_t tick, std::string t) {
        while (t.find('\r') != std::string::npos) {
            const auto cr = t.find('\r');
            if (cr == 0) {
                StoreExtra(tick, "\r");
                t.erase(0, 1);
            } else if (cr + 1 < t.size()) {
                StoreExtra(tick, t.substr(0, cr));
                StoreExtra(tick, "\r");
                t.erase(0, cr + 1);
            } else {
                t.pop_back();
                if (IsBlank(t)) {
                    Store(tick, "\r");
                } else {
                    Store(tick, t);
                    StoreExtra(tick, "\r");
                }
                t.clear();
            }
        }
        if (!TrimmedEmpty(t)) Store(tick, t);
    }

    void Walk() {
        TTrack& track = song_.Tracks[static_cast<std::size_t>(song_.LyricSourceTrack)];
        auto& events = track.Events;
        if (events.empty()) return;
        for (auto it = std::next(events.begin()); it != events.end();) {
            TMidiEvent& e = *it;
            if (!e.IsMeta(type_)) {
                ++it;
                continue;
            }
            if (type_ == kTextType) Headers(e);
            if (e.Length == 0 || e.Data.empty() || IsChordHelper(e.Data)) {
                it = Drop(track, it);
                continue;
            }
            NormaliseLineEnd(e);
            std::string t = WorkingText(e.Data);
            if (IsCopyright(t) || IsBlank(t)) {
                if (table_.empty()) lineEndDrop_ = true;
                it = Drop(track, it);
                continue;
            }
            const std::int32_t tick = e.Tick;
            if (t == "\r") {
                if (lineEndDrop_) {
                    lineEndDrop_ = false;
                    it = Drop(track, it);
                    continue;
                }
                Store(tick, "\r");
                ++it;
                continue;
            }
            if (type_ == kTextType && t.size() > 1 && t[0] == ' ' && t[1] == '\\') t.erase(0, 1);
            if (t[0] == '%') {
                // A comment: the event stays but gives no entry.
            } else if (t[0] == '/' || t[0] == '\\' || t[0] == '<') {
                t.erase(0, 1);
                if (TrimmedEmpty(t)) {
                    Store(tick, "\r");
                } else {
                    if (!table_.empty()) StoreExtra(tick - 4, "\r");
                    Store(tick, t);
                }
            } else {
                lineEndDrop_ = false;
                StoreLines(tick, std::move(t));
            }
            ++it;
        }
    }

    void Normalise() {
        // Leading line breaks go.
        const auto firstText = std::find_if(table_.begin(), table_.end(),
                                            [](const THyphens& h) { return h.Text != "\r"; });
        table_.erase(table_.begin(), firstText);
        if (table_.size() < static_cast<std::size_t>(kMinSourceEvents)) {
            NoLyrics();
            return;
        }
        if (table_.size() > kMaxEntries)
            throw ERangeError("Range check error: more than 65536 syllables");
        const std::size_t n = table_.size();

        // Word spaces of text tracks move to the end of the previous syllable.
        if (type_ == kTextType) {
            for (std::size_t i = 2; i < n; ++i) {
                std::string& before = table_[i - 1].Text;
                std::string& text = table_[i].Text;
                if (!before.empty() && !text.empty() && text[0] == ' ' && before.back() != ' ') {
                    before.push_back(' ');
                    text.erase(0, 1);
                }
            }
        }

        // Entries stay at least 4 ticks apart.
        table_[0].Tick = 108;
        for (std::size_t i = 1; i < n; ++i) {
            const std::int64_t least = static_cast<std::int64_t>(table_[i - 1].Tick) + 4;
            if (table_[i].Tick < least) {
                if (least > std::numeric_limits<std::int32_t>::max())
                    throw ERangeError("Range check error: syllable tick out of range");
                table_[i].Tick = static_cast<std::int32_t>(least);
            }
        }

        // No word space before a line break.
        for (std::size_t i = 1; i < n; ++i) {
            std::string& before = table_[i - 1].Text;
            if (table_[i].Text == "\r" && !before.empty() && before.back() == ' ')
                before.pop_back();
        }

        // Empty lines move up to just before the next line's first syllable.
        auto isBreak = [this](std::size_t i) { return table_[i].Text == "\r"; };
        for (std::size_t k = 4; k < n; ++k) {
            if (!isBreak(k - 3) && isBreak(k - 2) && isBreak(k - 1) && !isBreak(k)) {
                table_[k - 1].Tick = table_[k].Tick - 4;
            } else if (!isBreak(k - 4) && isBreak(k - 3) && isBreak(k - 2) && isBreak(k - 1) &&
                       !isBreak(k)) {
                table_[k - 2].Tick = table_[k].Tick - 8;
                table_[k - 1].Tick = table_[k].Tick - 4;
            }
        }

        // "sing 2 times" keeps its number with the words: "sing_2_times".
        for (std::size_t k = isBreak(3) ? 4 : 3; k < n; ++k)
            JoinNumber(table_[k].Text);

        for (auto& h : table_)
            h.SavedTick = h.Tick;
        song_.SyllableCount = static_cast<std::int32_t>(n);
        song_.SyllableCursor = static_cast<std::int32_t>(n);
        song_.Syllables = std::move(table_);
    }

    static void JoinNumber(std::string& s) {
        if (s.find(' ') == std::string::npos) return;
        const std::size_t len = s.size();
        auto blank = [&s](std::size_t j) { return s[j] == ' '; };
        if (len > 4) {
            for (std::size_t j = 0; j + 4 < len; ++j) {
                if (!blank(j) && blank(j + 1) && IsDigit(s[j + 2], '1') && blank(j + 3) &&
                    !blank(j + 4)) {
                    s[j + 1] = s[j + 3] = '_';
                    return;
                }
            }
        }
        if (len > 5) {
            for (std::size_t j = 0; j + 5 < len; ++j) {
                if (!blank(j) && blank(j + 1) && IsDigit(s[j + 2], '1') && IsDigit(s[j + 3], '0') &&
                    blank(j + 4) && !blank(j + 5)) {
                    s[j + 1] = s[j + 4] = '_';
                    return;
                }
            }
        }
    }

    TSong& song_;
    AHyphens table_;
    int type_ = kLyricType;
    bool headerSkip_ = false;
    bool lineEndDrop_ = false;
};

} // namespace

bool IsBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

void ExtractLyrics(TSong& song) {
    TExtractor(song).Run();
}

} // namespace lv
