#pragma once
// LV_Hyphen: Liang's pattern hyphenation over a compiled pattern image.
//
// The image is read whole into a zero-filled 65 500-byte buffer; a shorter file
// reads as if padded with zero bytes. Layout (little-endian):
//   64   translation table, character byte -> letter code
//   416  operation distances, 672 operation values, 928 operation chains
//   1184 packed trie, 4 bytes per entry (link u16, operation u8, letter u8),
//        entries 0..8000; the root's child for letter code c is entry c.
// Letter code 127 frames the word; the vowels are the codes 1..31 and those of
// a, e, i, o, u, y. Pattern files come from outside the program, so every
// table lookup stays inside the image whatever the bytes say.
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lv {

inline constexpr std::size_t kPatternImageSize = 65500;
inline constexpr std::size_t kTranslationOffset = 64;
inline constexpr std::size_t kOpDistanceOffset = 416;
inline constexpr std::size_t kOpValueOffset = 672;
inline constexpr std::size_t kOpChainOffset = 928;
inline constexpr std::size_t kTrieOffset = 1184;
inline constexpr int kTrieLastEntry = 8000;
inline constexpr int kBoundaryCode = 127;
inline constexpr int kStopCode = 256;
// Longest word the engine splits; longer runs are returned as they are.
inline constexpr std::size_t kMaxHyphenWord = 63;

// The input/output error of a pattern file (missing, unreadable).
class EInOutError : public std::runtime_error {
  public:
    explicit EInOutError(const std::string& message) : std::runtime_error(message) {}
};

bool IsHyphenVowel(int letterCode);

// One loaded pattern image and the word algorithm over it.
class THyphenEngine {
  public:
    THyphenEngine();
    // Reads up to 65 500 bytes of the file; throws EInOutError (message in the
    // user's language) when it cannot be opened or read. A short file is fine.
    void LoadFile(const std::string& path, const std::string& language = "");
    // Takes an image from memory (only its first 65 500 bytes count).
    void LoadImage(const std::uint8_t* data, std::size_t size);
    void LoadImage(const std::vector<std::uint8_t>& data) { LoadImage(data.data(), data.size()); }
    bool Loaded() const { return Image_ != nullptr; }
    void Release() { Image_.reset(); }

    // The word with "-" between its syllables. Words of fewer than three or
    // more than 63 characters come back unchanged, as does everything when no
    // image is loaded.
    std::string HyphenateWord(const std::string& word) const;

    // The raw hyphenation values of the gaps: result[i] belongs to the gap
    // after character i (1-based, result[0] before the first one); odd means a
    // break. programRules = false leaves out the program's own syllable rules.
    // Empty for words the engine does not split.
    std::vector<std::uint8_t> HyphenValues(const std::string& word, bool programRules = true) const;

  private:
    std::unique_ptr<std::array<std::uint8_t, kPatternImageSize>> Image_;
};

// The module-level engine the editor uses: one image at a time, loaded from
// the pattern directory (the program folder by default).
void SetPatternDirectory(const std::string& directory);
const std::string& PatternDirectory();
void LoadPatterns(const std::string& fileName, const std::string& language = "");
std::string HyphenateWord(const std::string& word);
void ReleasePatterns();

// The text pass over the editor's lines with the loaded patterns: lines 0 and 1
// (title, performer) and lines holding "_Takt" only lose trailing blanks,
// blank lines become empty, every other line has each word hyphenated and
// keeps its leading blanks and the blank runs between words.
void HyphenateLines(const THyphenEngine& engine, std::vector<std::string>& lines);
void HyphenateLines(std::vector<std::string>& lines);

} // namespace lv
