#include "PatternImage.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace lvhyph {

namespace {

constexpr int kLastEntry = 8000;
constexpr int kMaxOps = 255;
constexpr int kTrieOffset = 1184;
// A leaf's link: link + any letter code lands beyond entry 8000, which the
// engine folds to entry 0, whose letter byte stays 0 and matches no code.
constexpr int kLeafLink = kLastEntry;

struct TNode {
    std::map<int, int> Children; // letter code -> node
    int Op = 0;
    int Family = -1; // family of the children, -1 for a leaf
};

struct TFamilyChild {
    int Code, Op, Family;
    bool operator<(const TFamilyChild& o) const {
        return std::tie(Code, Op, Family) < std::tie(o.Code, o.Op, o.Family);
    }
};

} // namespace

TImageResult BuildImage(const std::vector<const TCodePattern*>& patterns,
                        const std::array<std::uint8_t, 256>& translation,
                        const std::string& label) {
    TImageResult r;
    // Operations: (distance, value, next), shared wherever a chain's tail is equal.
    std::map<std::tuple<int, int, int>, int> opIds;
    std::vector<std::tuple<int, int, int>> ops(1); // number 0 means none
    auto intern = [&](int d, int v, int next) {
        const auto key = std::make_tuple(d, v, next);
        auto it = opIds.find(key);
        if (it != opIds.end()) return it->second;
        const int id = static_cast<int>(ops.size());
        ops.push_back(key);
        opIds.emplace(key, id);
        return id;
    };

    std::vector<TNode> nodes(1);
    for (const TCodePattern* p : patterns) {
        int n = 0;
        for (std::uint8_t c : p->Codes) {
            auto it = nodes[n].Children.find(c);
            if (it == nodes[n].Children.end()) {
                const int child = static_cast<int>(nodes.size());
                nodes[n].Children.emplace(c, child);
                nodes.emplace_back();
                n = child;
            } else {
                n = it->second;
            }
        }
        const int len = static_cast<int>(p->Codes.size());
        int next = 0;
        // Smallest distance last, so patterns ending in the same number share it.
        for (int m = 0; m <= len; ++m)
            if (p->Values[m] != 0) next = intern(len - m, p->Values[m], next);
        nodes[n].Op = next;
    }
    r.TrieNodes = static_cast<int>(nodes.size()) - 1;
    r.Operations = static_cast<int>(ops.size()) - 1;

    // Families bottom-up: nodes were created after their parents, so walking
    // backwards sees every child before its parent.
    std::map<std::vector<TFamilyChild>, int> familyIds;
    std::vector<std::vector<TFamilyChild>> families;
    for (int n = static_cast<int>(nodes.size()) - 1; n >= 0; --n) {
        if (nodes[n].Children.empty()) continue;
        std::vector<TFamilyChild> key;
        for (const auto& [code, child] : nodes[n].Children)
            key.push_back({code, nodes[child].Op, nodes[child].Family});
        auto it = familyIds.find(key);
        if (it == familyIds.end()) {
            it = familyIds.emplace(key, static_cast<int>(families.size())).first;
            families.push_back(key);
        }
        nodes[n].Family = it->second;
    }
    r.Families = static_cast<int>(families.size());

    // First fit, largest families first; the root's family sits at base 0 and
    // no two families share a base (a letter byte then tells whose entry it is).
    std::vector<int> base(families.size(), -1);
    std::vector<bool> taken(kLastEntry + 1, false), baseUsed(kLastEntry + 1, false);
    taken[0] = true; // entry 0 stays empty: the engine's fallback slot
    bool fits = r.Operations <= kMaxOps;
    auto place = [&](int f, int b) {
        base[f] = b;
        baseUsed[b] = true;
        for (const auto& c : families[f])
            taken[b + c.Code] = true;
    };
    const int rootFamily = nodes[0].Family;
    if (rootFamily >= 0) place(rootFamily, 0);
    std::vector<int> order;
    for (int f = 0; f < static_cast<int>(families.size()); ++f)
        if (f != rootFamily) order.push_back(f);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto spanA = families[a].back().Code - families[a].front().Code;
        const auto spanB = families[b].back().Code - families[b].front().Code;
        if (families[a].size() != families[b].size())
            return families[a].size() > families[b].size();
        return spanA > spanB;
    });
    int firstFree = 1;
    for (int f : order) {
        const int lowCode = families[f].front().Code;
        const int highCode = families[f].back().Code;
        while (firstFree <= kLastEntry && taken[firstFree])
            ++firstFree;
        bool placed = false;
        for (int b = std::max(1, firstFree - lowCode); b + highCode <= kLastEntry; ++b) {
            if (baseUsed[b]) continue;
            bool ok = true;
            for (const auto& c : families[f])
                if (taken[b + c.Code]) {
                    ok = false;
                    break;
                }
            if (ok) {
                place(f, b);
                placed = true;
                break;
            }
        }
        if (!placed) fits = false;
    }

    int highest = 0;
    std::vector<std::uint8_t> trie(4 * (kLastEntry + 1), 0);
    if (fits) {
        for (int f = 0; f < static_cast<int>(families.size()); ++f) {
            for (const auto& c : families[f]) {
                const int e = base[f] + c.Code;
                const int link = c.Family < 0 ? kLeafLink : base[c.Family];
                trie[4 * e] = static_cast<std::uint8_t>(link & 0xFF);
                trie[4 * e + 1] = static_cast<std::uint8_t>(link >> 8);
                trie[4 * e + 2] = static_cast<std::uint8_t>(c.Op);
                trie[4 * e + 3] = static_cast<std::uint8_t>(c.Code);
                highest = std::max(highest, e);
            }
        }
    }
    r.Entries = highest + 1;
    r.Fits = fits;
    if (!fits) return r;

    r.Image.assign(kTrieOffset + 4 * r.Entries, 0);
    const std::string head = label.substr(0, 63);
    std::memcpy(r.Image.data(), head.data(), head.size());
    std::memcpy(r.Image.data() + 64, translation.data(), 256);
    for (int i = 1; i < static_cast<int>(ops.size()); ++i) {
        const auto [d, v, next] = ops[i];
        r.Image[416 + i] = static_cast<std::uint8_t>(d);
        r.Image[672 + i] = static_cast<std::uint8_t>(v);
        r.Image[928 + i] = static_cast<std::uint8_t>(next);
    }
    std::memcpy(r.Image.data() + kTrieOffset, trie.data(), 4 * r.Entries);
    return r;
}

} // namespace lvhyph
