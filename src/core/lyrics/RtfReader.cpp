#include "lyrics/RtfReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace lv {

namespace {

constexpr std::size_t kMaxDepth = 256;     // deeper groups share the state of this one
constexpr std::size_t kMaxWordLength = 32; // longer control words are cut
constexpr std::int64_t kParamLimit = 1 << 30;

// Windows-1252 bytes 0x80..0x9F and the Unicode characters they stand for
// (0 where the code page has none).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

int UnicodeToCp1252(std::int64_t cp) {
    if (cp >= 0 && cp < 0x80) return int(cp);
    if (cp >= 0xA0 && cp <= 0xFF) return int(cp);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp) return int(0x80 + i);
    return -1;
}

namespace {

struct TGroupState {
    bool Skip = false;   // inside a destination whose text is dropped
    std::int64_t Uc = 1; // fallback characters after \uN
};

bool IsSkippedDestination(std::string_view w) {
    static constexpr std::string_view kSkipped[] = {
        "fonttbl",      "colortbl",  "stylesheet",        "info",      "pict",
        "header",       "headerl",   "headerr",           "headerf",   "footer",
        "footerl",      "footerr",   "footerf",           "footnote",  "fldinst",
        "object",       "listtable", "listoverridetable", "rsidtbl",   "generator",
        "filetbl",      "revtbl",    "xmlnstbl",          "themedata", "colorschememapping",
        "latentstyles", "datastore", "pgdsctbl",          "bkmkstart", "bkmkend",
        "annotation",   "atnid",     "atnauthor",         "private",   "nonshppict",
        "shppict",      "objdata",   "listtext",          "pntext",    "pntxta",
        "pntxtb"};
    for (std::string_view s : kSkipped)
        if (w == s) return true;
    return false;
}

// Control words that stand for one character of text.
int SymbolByte(std::string_view w) {
    if (w == "lquote") return 0x91;
    if (w == "rquote") return 0x92;
    if (w == "ldblquote") return 0x93;
    if (w == "rdblquote") return 0x94;
    if (w == "bullet") return 0x95;
    if (w == "endash") return 0x96;
    if (w == "emdash") return 0x97;
    if (w == "emspace" || w == "enspace" || w == "qmspace") return ' ';
    return -1;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class TRtfText {
  public:
    explicit TRtfText(std::string_view in) : In(in) {}

    std::string Run() {
        Stack.push_back({});
        while (Pos < In.size() && !Done) {
            const char c = In[Pos];
            if (c == '{') {
                ++Pos;
                OpenGroup();
            } else if (c == '}') {
                ++Pos;
                CloseGroup();
            } else if (c == '\\') {
                ++Pos;
                ControlSymbolOrWord();
            } else if (c == '\r' || c == '\n' || c == '\0') {
                ++Pos; // raw line ends carry no meaning
            } else {
                ++Pos;
                Emit(c);
            }
        }
        return Out;
    }

  private:
    TGroupState& State() { return Stack.back(); }

    void OpenGroup() {
        if (Stack.size() >= kMaxDepth) {
            ++ExtraDepth;
            return;
        }
        Stack.push_back(Stack.back());
        GroupStart = true;
    }

    void CloseGroup() {
        GroupStart = false;
        if (ExtraDepth > 0) {
            --ExtraDepth;
            return;
        }
        if (Stack.size() > 1) {
            Stack.pop_back();
            Done = Stack.size() == 1; // the document's outer group is closed
        }
    }

    void Emit(char c) {
        GroupStart = false;
        if (PendingFallback > 0) {
            --PendingFallback;
            return;
        }
        if (!State().Skip) Out += c;
    }

    void ControlSymbolOrWord() {
        if (Pos >= In.size()) return;
        const char c = In[Pos];
        const bool atGroupStart = GroupStart;
        GroupStart = false;
        if (!IsLetter(c)) {
            ++Pos;
            switch (c) {
            case '*':
                // "{\*\dest ...}": a destination the reader may ignore.
                if (atGroupStart) State().Skip = true;
                break;
            case '\'': {
                // "\'hh"; a cut-off escape (one digit at the end) is dropped.
                const int hi = Pos < In.size() ? HexValue(In[Pos]) : -1;
                const int lo = Pos + 1 < In.size() ? HexValue(In[Pos + 1]) : -1;
                if (hi >= 0 && lo >= 0) {
                    Pos += 2;
                    Emit(char(hi * 16 + lo));
                } else if (hi >= 0 && Pos + 1 >= In.size()) {
                    ++Pos;
                }
                break;
            }
            case '~':
                Emit(' ');
                break;
            case '_':
                Emit('-');
                break;
            case '-': // optional hyphen: not part of the text
                break;
            case '\r':
            case '\n': // "\" before a line end is a paragraph
                Emit('\n');
                break;
            default: // "\\", "\{", "\}" and unknown symbols stand for themselves
                Emit(c);
                break;
            }
            return;
        }
        std::string word;
        while (Pos < In.size() && IsLetter(In[Pos])) {
            if (word.size() < kMaxWordLength) word += In[Pos];
            ++Pos;
        }
        bool hasParam = false;
        bool negative = false;
        std::int64_t param = 0;
        if (Pos < In.size() && In[Pos] == '-' && Pos + 1 < In.size() && IsDigit(In[Pos + 1])) {
            negative = true;
            ++Pos;
        }
        while (Pos < In.size() && IsDigit(In[Pos])) {
            hasParam = true;
            if (param < kParamLimit) param = param * 10 + (In[Pos] - '0');
            ++Pos;
        }
        if (negative) param = -param;
        if (Pos < In.size() && In[Pos] == ' ') ++Pos; // the delimiting blank belongs to the word
        Word(word, hasParam, param, atGroupStart);
    }

    void Word(std::string_view w, bool hasParam, std::int64_t param, bool atGroupStart) {
        if (atGroupStart && IsSkippedDestination(w)) {
            State().Skip = true;
            return;
        }
        if (w == "par" || w == "line" || w == "sect" || w == "page" || w == "row") {
            Emit('\n');
        } else if (w == "tab" || w == "cell") {
            Emit(w == "tab" ? '\t' : ' ');
        } else if (w == "uc") {
            State().Uc = hasParam && param >= 0 ? std::min<std::int64_t>(param, 16) : 1;
        } else if (w == "u" && hasParam) {
            std::int64_t cp = param;
            if (cp < 0) cp += 65536;
            const int byte = UnicodeToCp1252(cp);
            PendingFallback = 0;
            if (byte >= 0) Emit(char(byte));
            // With a byte of our own the fallback characters are skipped; without
            // one they are the document's own stand-in for the character.
            PendingFallback = byte >= 0 ? State().Uc : 0;
        } else if (w == "bin" && hasParam) {
            const std::uint64_t n = param > 0 ? std::uint64_t(param) : 0;
            Pos += std::size_t(std::min<std::uint64_t>(n, In.size() - Pos));
        } else if (const int b = SymbolByte(w); b >= 0) {
            Emit(char(b));
        }
        // Every other word is formatting and carries no text.
    }

    std::string_view In;
    std::size_t Pos = 0;
    std::string Out;
    std::vector<TGroupState> Stack;
    std::size_t ExtraDepth = 0;
    bool GroupStart = false;
    bool Done = false;
    std::int64_t PendingFallback = 0;
};

} // namespace

bool LooksLikeRtf(std::string_view data) {
    std::size_t i = 0;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\r' || data[i] == '\n' || data[i] == '\t'))
        ++i;
    return data.substr(i, 5) == "{\\rtf";
}

std::string RtfToPlainText(std::string_view rtf) {
    return TRtfText(rtf).Run();
}

} // namespace lv
