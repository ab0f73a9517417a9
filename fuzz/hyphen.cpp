// Pattern images and words from outside: LoadImage + HyphenateWord + the text
// pass must neither read nor write outside their buffers, nor hang.
// Input: one length byte n, n bytes of text (lines split at '\n'), then the image.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lyrics/Hyphen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    std::size_t n = data[0];
    if (n > size - 1) n = size - 1;
    const std::string text(reinterpret_cast<const char*>(data + 1), n);
    lv::THyphenEngine engine;
    engine.LoadImage(data + 1 + n, size - 1 - n);

    const std::string out = engine.HyphenateWord(text);
    // Only hyphens are added: the text comes back when they are taken out again.
    std::string back;
    std::size_t k = 0;
    for (char c : out) {
        if (k < text.size() && c == text[k]) {
            back += c;
            ++k;
        } else if (c != '-') {
            __builtin_trap();
        }
    }
    if (back != text) __builtin_trap();
    (void)engine.HyphenValues(text, false);

    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    lv::HyphenateLines(engine, lines);
    return 0;
}
