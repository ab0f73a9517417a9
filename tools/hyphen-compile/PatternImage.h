#pragma once
// Packing Liang patterns into the engine's image: operation tables (at most 255
// operations, chains shared by their tails) and a trie of at most 8001 entries
// in which identical subtries share one family of entries.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lvhyph {

// A pattern in letter codes: 127 marks a word edge.
struct TCodePattern {
    std::vector<std::uint8_t> Codes;
    std::vector<std::uint8_t> Values; // Codes.size() + 1
};

struct TImageResult {
    std::vector<std::uint8_t> Image; // the file's bytes
    int Entries = 0;                 // highest trie entry used + 1
    int TrieNodes = 0;               // nodes before sharing
    int Families = 0;
    int Operations = 0;
    bool Fits = false; // within 255 operations and entries 0..8000
};

TImageResult BuildImage(const std::vector<const TCodePattern*>& patterns,
                        const std::array<std::uint8_t, 256>& translation, const std::string& label);

} // namespace lvhyph
