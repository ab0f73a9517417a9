#pragma once
// Builds small pattern images for the engine tests: letters a..z keep their
// ASCII codes (upper case maps to lower case), every other byte frames the
// word (127). Patterns are written like "a1b" or ".ab3a"; '.' is the word edge.
// Each trie family gets a base of its own, 256 apart, which is plenty for a
// handful of patterns.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "lyrics/Hyphen.h"

namespace lvtest {

class TPatternFixture {
  public:
    explicit TPatternFixture(const std::vector<std::string>& patterns) {
        Image.assign(lv::kTrieOffset + 4 * (lv::kTrieLastEntry + 1), 0);
        for (int b = 0; b < 256; ++b) {
            int c = b;
            if (c >= 'A' && c <= 'Z') c += 32;
            Image[lv::kTranslationOffset + b] =
                static_cast<std::uint8_t>((c >= 'a' && c <= 'z') ? c : lv::kBoundaryCode);
        }
        struct TNode {
            std::map<int, int> Children;
            int Op = 0;
        };
        std::vector<TNode> nodes(1);
        for (const auto& p : patterns) {
            std::vector<int> codes;
            std::vector<int> values{0};
            for (char ch : p) {
                if (ch >= '0' && ch <= '9') {
                    values.back() = ch - '0';
                } else {
                    codes.push_back(ch == '.' ? lv::kBoundaryCode : ch);
                    values.push_back(0);
                }
            }
            int n = 0;
            for (int c : codes) {
                auto it = nodes[n].Children.find(c);
                if (it == nodes[n].Children.end()) {
                    nodes.emplace_back();
                    it = nodes[n].Children.emplace(c, static_cast<int>(nodes.size()) - 1).first;
                }
                n = it->second;
            }
            const int len = static_cast<int>(codes.size());
            int next = 0;
            for (int m = 0; m <= len; ++m) {
                if (!values[m]) continue;
                const int op = ++ops_;
                Image[lv::kOpDistanceOffset + op] = static_cast<std::uint8_t>(len - m);
                Image[lv::kOpValueOffset + op] = static_cast<std::uint8_t>(values[m]);
                Image[lv::kOpChainOffset + op] = static_cast<std::uint8_t>(next);
                next = op;
            }
            nodes[n].Op = next;
        }
        // Families: the root at base 0, the others at 256, 512, ...
        std::vector<int> base(nodes.size(), lv::kTrieLastEntry);
        int nextBase = 256;
        base[0] = 0;
        for (std::size_t n = 1; n < nodes.size(); ++n)
            if (!nodes[n].Children.empty()) {
                base[n] = nextBase;
                nextBase += 256;
            }
        for (std::size_t n = 0; n < nodes.size(); ++n)
            for (const auto& [code, child] : nodes[n].Children) {
                const std::size_t e = lv::kTrieOffset + 4 * (base[n] + code);
                Image[e] = static_cast<std::uint8_t>(base[child] & 0xFF);
                Image[e + 1] = static_cast<std::uint8_t>(base[child] >> 8);
                Image[e + 2] = static_cast<std::uint8_t>(nodes[child].Op);
                Image[e + 3] = static_cast<std::uint8_t>(code);
            }
    }
    std::vector<std::uint8_t> Image;

  private:
    int ops_ = 0;
};

} // namespace lvtest
