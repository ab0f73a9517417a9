#pragma once
// The text of the lyrics editor as core sees it: lines of bytes (no line ends)
// plus the caret and selection, counted in the view text where every line
// break stands for the two characters "\r\n". The GUI copies its control into
// this, calls core, and copies the result back.
#include <cstdint>
#include <string>
#include <vector>

namespace lv {

struct TEditorText {
    std::vector<std::string> Lines;
    std::int32_t SelStart = 0;   // caret position
    std::int32_t SelLength = 0;  // selected characters after SelStart
    bool ReadOnly = true;

    // All lines joined with "\r\n".
    std::string Text() const {
        std::string t;
        for (std::size_t i = 0; i < Lines.size(); ++i) {
            if (i) t += "\r\n";
            t += Lines[i];
        }
        return t;
    }
    // Splits at "\r\n", "\n" or "\r".
    void SetText(const std::string& text) {
        Lines.clear();
        std::string cur;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\r' || c == '\n') {
                Lines.push_back(cur);
                cur.clear();
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            } else {
                cur += c;
            }
        }
        Lines.push_back(cur);
    }
};

} // namespace lv
