// hyphen-compile: turns a hyphenation dictionary of Debian's hyphen-* packages
// into a pattern file of the editor (Lang_*.hyp).
//
//   hyphen-compile --dic /usr/share/hyphen/hyph_de_DE.dic --words /usr/share/dict/ngerman
//                  --out data/hyphen/Lang_ger.hyp
//
// When the whole pattern set fits the file's trie (8001 entries, 255
// operations) it is taken as it is. Otherwise patterns are chosen greedily by
// how many hyphenation points they get right on the word list, measured
// against libhyphen on the complete dictionary, and the longest prefix of that
// ranking that still fits is kept.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <numeric>
#include <stdexcept>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "Cp1252.h"
#include "DicFile.h"
#include "PatternImage.h"
#include "Reference.h"
#include "lyrics/Hyphen.h"

using namespace lvhyph;

namespace {

struct TOptions {
    std::string Dic, Words, Out, Label;
    bool Quiet = false;
    int Show = 0;
    bool Reduce = true;
    bool EdgeRules = true;
    int Rounds = 2;
    bool Select = false; // rank even when the whole set fits
    double Keep = 0.85;
};

// Letter codes: ASCII letters keep their own code (so a, e, i, o, u, y are
// vowels already), other vowels of the patterns get 1..31, other consonants
// their own byte, everything that is not a letter frames words (127).
std::array<std::uint8_t, 256> MakeTranslation(const TDicFile& dic) {
    std::array<int, 256> code{};
    code.fill(-1);
    int nextVowel = 1;
    for (const auto& p : dic.Patterns)
        for (unsigned char c : p.Letters) {
            if (c == '.' || code[c] >= 0) continue;
            if (c < 0x80 && ((c >= 'a' && c <= 'z') || c == '\'')) {
                code[c] = c;
            } else if (IsVowel1252(c)) {
                if (nextVowel > 31) throw std::runtime_error("more than 31 accented vowels");
                code[c] = nextVowel++;
            } else if (c != 127 && c >= 32) {
                code[c] = c;
            }
        }
    const int otherVowel = nextVowel <= 31 ? nextVowel : 1;
    std::array<std::uint8_t, 256> t{};
    for (int b = 0; b < 256; ++b) {
        const unsigned char l = Lower1252(static_cast<unsigned char>(b));
        if (b == '-' || b == '.' || b < 32) {
            t[b] = lv::kBoundaryCode;
        } else if (code[l] >= 0) {
            t[b] = static_cast<std::uint8_t>(code[l]);
        } else if (IsLetter1252(l)) {
            t[b] = static_cast<std::uint8_t>(IsVowel1252(l) ? otherVowel : l);
        } else {
            t[b] = lv::kBoundaryCode;
        }
    }
    // The typographic apostrophe counts as the plain one.
    if (code['\''] >= 0) t[0x92] = t['\''];
    return t;
}

std::vector<TCodePattern> MakePool(const TDicFile& dic, const std::array<std::uint8_t, 256>& t) {
    std::map<std::vector<std::uint8_t>, std::vector<std::uint8_t>> merged;
    for (const auto& p : dic.Patterns) {
        std::vector<std::uint8_t> codes;
        for (unsigned char c : p.Letters)
            codes.push_back(c == '.' ? lv::kBoundaryCode : t[c]);
        std::vector<std::uint8_t> values = p.Values;
        // Compound boundaries of the first level outrank syllable rules.
        if (dic.TwoLevels && p.Level == 1)
            for (auto& v : values)
                if (v) v = (v & 1) ? 9 : 8;
        auto [it, added] = merged.emplace(codes, values);
        if (!added)
            for (std::size_t i = 0; i < values.size(); ++i)
                it->second[i] = std::max(it->second[i], values[i]);
    }
    std::vector<TCodePattern> pool;
    for (auto& [codes, values] : merged)
        pool.push_back({codes, values});
    return pool;
}

// A pattern trie over letter codes, to find patterns inside words and inside
// other patterns.
struct TPoolTrie {
    struct TNode {
        std::vector<std::pair<int, int>> Children;
        int Pattern = -1;
    };
    std::vector<TNode> Nodes{1};
    explicit TPoolTrie(const std::vector<TCodePattern>& pool) {
        for (int p = 0; p < static_cast<int>(pool.size()); ++p) {
            int n = 0;
            for (int c : pool[p].Codes) {
                int next = Step(n, c);
                if (next < 0) {
                    next = static_cast<int>(Nodes.size());
                    Nodes[n].Children.push_back({c, next});
                    Nodes.emplace_back();
                }
                n = next;
            }
            Nodes[n].Pattern = p;
        }
    }
    int Step(int n, int c) const {
        for (const auto& [code, child] : Nodes[n].Children)
            if (code == c) return child;
        return -1;
    }
};

// Dictionaries for libhyphen repeat in every pattern the numbers of the
// patterns inside it. Liang's method takes the maximum over all matching
// patterns anyway, so a number that a pattern inside this one already gives
// at the same place is dropped: fewer operations and nodes, same result while
// the inner pattern is kept. Patterns left without numbers go.
// Candidates that keep a break away from a word edge inside a run ("aids's",
// "o'clock" with the apostrophe framing words): no break before the last
// letter or the last two letters of a part, none after its first letter. At
// the real word edges these gaps are never broken anyway.
std::vector<TCodePattern> EdgePatterns(const std::vector<TCodePattern>& pool) {
    std::vector<int> letters;
    for (const auto& p : pool)
        for (int c : p.Codes)
            if (c != lv::kBoundaryCode &&
                std::find(letters.begin(), letters.end(), c) == letters.end())
                letters.push_back(c);
    std::sort(letters.begin(), letters.end());
    const std::uint8_t b = lv::kBoundaryCode;
    std::vector<TCodePattern> out;
    for (int x : letters) {
        const std::uint8_t cx = static_cast<std::uint8_t>(x);
        out.push_back({{cx, b}, {8, 0, 0}});
        out.push_back({{b, cx}, {0, 0, 8}});
        for (int y : letters)
            out.push_back({{cx, static_cast<std::uint8_t>(y), b}, {8, 0, 0, 0}});
    }
    return out;
}

std::vector<TCodePattern> ReducePool(const std::vector<TCodePattern>& pool) {
    const TPoolTrie trie(pool);
    std::vector<TCodePattern> out;
    for (int p = 0; p < static_cast<int>(pool.size()); ++p) {
        const auto& codes = pool[p].Codes;
        std::vector<std::uint8_t> values = pool[p].Values;
        for (std::size_t o = 0; o < codes.size(); ++o) {
            int n = 0;
            for (std::size_t l = o; l < codes.size(); ++l) {
                n = trie.Step(n, codes[l]);
                if (n < 0) break;
                const int q = trie.Nodes[n].Pattern;
                if (q < 0 || q == p) continue;
                const auto& qv = pool[q].Values;
                for (std::size_t m = 0; m < qv.size(); ++m)
                    if (values[o + m] && qv[m] >= pool[p].Values[o + m]) values[o + m] = 0;
            }
        }
        if (std::any_of(values.begin(), values.end(), [](std::uint8_t v) { return v != 0; }))
            out.push_back({codes, values});
    }
    return out;
}

// The framed letter codes of a word as the engine sees them.
std::vector<int> FrameWord(const std::string& w, const std::array<std::uint8_t, 256>& t) {
    std::vector<int> code(w.size() + 3);
    code[0] = lv::kBoundaryCode;
    for (std::size_t i = 0; i < w.size(); ++i)
        code[i + 1] = t[static_cast<unsigned char>(w[i])];
    code[w.size() + 1] = lv::kBoundaryCode;
    code[w.size() + 2] = 256;
    return code;
}

struct TOccurrence {
    int Pattern;
    int Word;
    int Start;
};

// Ranks the pool: batches of the patterns that fix the most points per new
// trie node, until the selection is far beyond what the file can hold.
std::vector<int> RankPatterns(const std::vector<TCodePattern>& pool,
                              const std::vector<TRefWord>& words,
                              const std::array<std::uint8_t, 256>& t, int nodeLimit, bool quiet,
                              const std::vector<int>& forced = {}) {
    const TPoolTrie trie(pool);

    std::vector<TOccurrence> occ;
    std::vector<std::size_t> valueAt(words.size() + 1, 0);
    for (int w = 0; w < static_cast<int>(words.size()); ++w) {
        const auto& r = words[w];
        valueAt[w + 1] = valueAt[w] + r.Word.size() + 2;
        if (r.Hi < r.Lo) continue;
        const auto code = FrameWord(r.Word, t);
        const int hn = static_cast<int>(r.Word.size());
        for (int j = 0; j <= hn - 1; ++j) {
            int n = 0;
            for (int l = j; l <= hn + 1; ++l) {
                n = trie.Step(n, code[l]);
                if (n < 0) break;
                const int p = trie.Nodes[n].Pattern;
                if (p < 0) continue;
                bool relevant = false;
                for (std::size_t m = 0; m < pool[p].Values.size(); ++m) {
                    const int g = j + static_cast<int>(m) - 1;
                    if (pool[p].Values[m] && g >= r.Lo && g <= r.Hi) relevant = true;
                }
                if (relevant) occ.push_back({p, w, j});
            }
        }
    }
    if (!quiet)
        std::fprintf(stderr, "  %zu occurrences of %zu patterns\n", occ.size(), pool.size());

    std::vector<std::uint8_t> cur(valueAt.back(), 0);
    std::vector<bool> selected(pool.size(), false);
    std::unordered_set<std::string> prefixes;
    auto newNodes = [&](int p) {
        int n = 0;
        std::string key;
        for (int c : pool[p].Codes) {
            key += static_cast<char>(c);
            if (!prefixes.count(key)) ++n;
        }
        return n;
    };
    // Occurrences by pattern, to update the values once a pattern is taken.
    std::vector<std::vector<int>> byPattern(pool.size());
    for (int i = 0; i < static_cast<int>(occ.size()); ++i)
        byPattern[occ[i].Pattern].push_back(i);

    // Operations as the image shares them: (distance, value, next) from the
    // smallest distance up.
    std::map<std::tuple<int, int, int>, int> opIds;
    auto chainOps = [&](int p, bool add) {
        const auto& v = pool[p].Values;
        const int len = static_cast<int>(pool[p].Codes.size());
        int next = 0, fresh = 0;
        for (int m = 0; m <= len; ++m) {
            if (!v[m]) continue;
            const auto key = std::make_tuple(len - m, int{v[m]}, next);
            auto it = opIds.find(key);
            if (it != opIds.end()) {
                next = it->second;
                continue;
            }
            ++fresh;
            if (!add) {
                next = -1 - fresh; // a new chain: nothing after this is shared
                continue;
            }
            next = static_cast<int>(opIds.size()) + 1;
            opIds.emplace(key, next);
        }
        return fresh;
    };
    // One operation costs about as much of the file as 8001 / 255 trie entries.
    constexpr double kOpCost = 8001.0 / 255.0;

    std::vector<int> ranking;
    int nodes = 0;
    std::vector<long long> gain(pool.size());
    auto take = [&](int p) {
        selected[p] = true;
        ranking.push_back(p);
        nodes += newNodes(p);
        chainOps(p, true);
        std::string key;
        for (int c : pool[p].Codes)
            prefixes.insert(key += static_cast<char>(c));
        for (int i : byPattern[p]) {
            const auto& o = occ[i];
            const auto& values = pool[p].Values;
            for (std::size_t m = 0; m < values.size(); ++m) {
                const int g = o.Start + static_cast<int>(m) - 1;
                if (g < 0) continue;
                auto& v = cur[valueAt[o.Word] + g];
                v = std::max(v, values[m]);
            }
        }
    };
    for (int p : forced)
        take(p);
    while (nodes < nodeLimit && opIds.size() < 3 * 255) {
        std::fill(gain.begin(), gain.end(), 0);
        for (const auto& o : occ) {
            if (selected[o.Pattern]) continue;
            const auto& r = words[o.Word];
            const auto& values = pool[o.Pattern].Values;
            for (std::size_t m = 0; m < values.size(); ++m) {
                const int g = o.Start + static_cast<int>(m) - 1;
                if (!values[m] || g < r.Lo || g > r.Hi) continue;
                const std::uint8_t old = cur[valueAt[o.Word] + g];
                if (values[m] <= old) continue;
                const bool want = (r.Breaks >> g) & 1;
                gain[o.Pattern] += (static_cast<bool>(values[m] & 1) == want) -
                                   (static_cast<bool>(old & 1) == want);
            }
        }
        std::vector<std::pair<double, int>> candidates;
        for (int p = 0; p < static_cast<int>(pool.size()); ++p)
            if (!selected[p] && gain[p] > 0)
                candidates.push_back({-static_cast<double>(gain[p]) /
                                          (newNodes(p) + kOpCost * chainOps(p, false) + 1.0),
                                      p});
        if (candidates.empty()) break;
        std::sort(candidates.begin(), candidates.end());
        const std::size_t batch = std::max<std::size_t>(16, ranking.size() / 60);
        for (std::size_t k = 0; k < candidates.size() && k < batch; ++k) {
            take(candidates[k].second);
        }
    }
    if (!quiet)
        std::fprintf(stderr, "  ranked %zu patterns (%d trie nodes, %zu operations)\n",
                     ranking.size(), nodes, opIds.size());
    return ranking;
}

struct TScore {
    long long Words = 0, WordsRight = 0, Points = 0, PointsFound = 0, Extra = 0;
};

TScore Score(const std::vector<std::uint8_t>& image, const std::vector<TRefWord>& words,
             int show = 0) {
    lv::THyphenEngine engine;
    engine.LoadImage(image);
    TScore s;
    for (const auto& r : words) {
        const auto values = engine.HyphenValues(r.Word, false);
        std::uint64_t got = 0;
        for (int g = std::max(1, r.Lo); g <= r.Hi && g < static_cast<int>(values.size()); ++g)
            // The editor never puts a hyphen beside one that is already there.
            if ((values[g] & 1) && r.Word[g - 1] != '-' && r.Word[g] != '-')
                got |= std::uint64_t{1} << g;
        ++s.Words;
        s.WordsRight += got == r.Breaks;
        if (got != r.Breaks && show-- > 0) {
            std::string a, b;
            for (std::size_t i = 0; i < r.Word.size(); ++i) {
                a += r.Word[i], b += r.Word[i];
                if ((r.Breaks >> (i + 1)) & 1) a += '-';
                if ((got >> (i + 1)) & 1) b += '-';
            }
            std::fprintf(stderr, "  libhyphen %s  ours %s\n", Cp1252ToUtf8(a).c_str(),
                         Cp1252ToUtf8(b).c_str());
        }
        s.Points += __builtin_popcountll(r.Breaks);
        s.PointsFound += __builtin_popcountll(got & r.Breaks);
        s.Extra += __builtin_popcountll(got & ~r.Breaks);
    }
    return s;
}

// Patterns that would mend the points a file gets wrong: the letters around
// the gap (one to three on either side, the word edge where it is reached)
// with the next higher number of the wanted parity. Cut only where at least
// two words ask for the same one; the ranking then decides what is worth it.
std::vector<TCodePattern> ErrorPatterns(const std::vector<std::uint8_t>& image,
                                        const std::vector<TRefWord>& words,
                                        const std::array<std::uint8_t, 256>& t,
                                        const std::vector<TCodePattern>& pool) {
    lv::THyphenEngine engine;
    engine.LoadImage(image);
    std::map<std::vector<std::uint8_t>, int> have;
    for (const auto& p : pool)
        have.emplace(p.Codes, 0);
    std::map<std::pair<std::vector<std::uint8_t>, int>, int> votes; // (codes, gap value) -> words
    for (const auto& r : words) {
        const auto values = engine.HyphenValues(r.Word, false);
        if (values.empty()) continue;
        const auto code = FrameWord(r.Word, t);
        const int hn = static_cast<int>(r.Word.size());
        for (int g = std::max(1, r.Lo); g <= r.Hi; ++g) {
            const bool want = (r.Breaks >> g) & 1;
            const int v = values[g];
            if (static_cast<bool>(v & 1) == want || v >= 9) continue;
            for (int left = 1; left <= 3; ++left)
                for (int right = 1; right <= 3; ++right) {
                    const int from = std::max(0, g - left + 1), to = std::min(hn + 1, g + right);
                    std::vector<std::uint8_t> codes;
                    for (int i = from; i <= to; ++i)
                        codes.push_back(static_cast<std::uint8_t>(code[i]));
                    ++votes[{codes, (g - from + 1) * 16 + v + 1}];
                }
        }
    }
    std::vector<TCodePattern> out;
    std::map<std::vector<std::uint8_t>, std::size_t> made;
    for (const auto& [key, count] : votes) {
        if (count < 2 || have.count(key.first)) continue;
        const int gapIndex = key.second / 16, value = key.second % 16;
        auto it = made.find(key.first);
        if (it == made.end()) {
            TCodePattern p{key.first, std::vector<std::uint8_t>(key.first.size() + 1, 0)};
            it = made.emplace(key.first, out.size()).first;
            out.push_back(std::move(p));
        }
        auto& slot = out[it->second].Values[gapIndex];
        slot = std::max<std::uint8_t>(slot, static_cast<std::uint8_t>(value));
    }
    return out;
}

int Run(const TOptions& o) {
    const TDicFile dic = ReadDic(o.Dic);
    const auto t = MakeTranslation(dic);
    auto pool = MakePool(dic, t);
    const std::size_t mergedPatterns = pool.size();
    if (o.Reduce) pool = ReducePool(pool);
    const std::size_t sourcePatterns = pool.size();
    std::vector<TCodePattern> edges;
    if (o.EdgeRules) edges = EdgePatterns(pool);
    // Edge patterns the source already has keep the source's numbers.
    {
        std::map<std::vector<std::uint8_t>, int> have;
        for (const auto& p : pool)
            have.emplace(p.Codes, 0);
        for (auto& e : edges)
            if (!have.count(e.Codes)) pool.push_back(std::move(e));
    }
    auto words = ReadWordList(o.Words, dic);
    ComputeReference(o.Dic, dic, words);
    if (!o.Quiet)
        std::fprintf(stderr,
                     "%s: %zu patterns (%d skipped), %zu after merging, %zu with numbers of "
                     "their own, %zu words\n",
                     o.Dic.c_str(), dic.Patterns.size(), dic.Skipped, mergedPatterns,
                     sourcePatterns, words.size());

    std::vector<const TCodePattern*> all;
    for (std::size_t i = 0; i < sourcePatterns; ++i)
        all.push_back(&pool[i]);
    TImageResult best = BuildImage(all, t, o.Label);
    std::size_t kept = all.size(), edgeKept = 0, generatedKept = 0;
    const std::size_t edgeEnd = pool.size();
    TScore bestScore;
    if (!best.Fits || o.Select) {
        if (!o.Quiet)
            std::fprintf(stderr, "  the whole set does not fit (%d nodes, %d operations)\n",
                         best.TrieNodes, best.Operations);
        // Round 0 ranks the source patterns; each further round adds
        // patterns cut from the words the previous file still gets wrong.
        std::size_t generated = 0;
        std::vector<int> forced;
        for (int round = 0; round <= o.Rounds; ++round) {
            const auto ranking = RankPatterns(pool, words, t, 4 * 8001, o.Quiet, forced);
            auto prefix = [&](std::size_t n) {
                std::vector<const TCodePattern*> ps;
                for (std::size_t i = 0; i < n; ++i)
                    ps.push_back(&pool[ranking[i]]);
                return BuildImage(ps, t, o.Label);
            };
            std::size_t lo = 0, hi = ranking.size(); // lo fits, hi+1 does not
            TImageResult fit = prefix(0);
            while (lo < hi) {
                const std::size_t mid = (lo + hi + 1) / 2;
                TImageResult r = prefix(mid);
                if (r.Fits) {
                    lo = mid;
                    fit = std::move(r);
                } else {
                    hi = mid - 1;
                }
            }
            const TScore score = Score(fit.Image, words);
            if (!o.Quiet)
                std::fprintf(stderr, "  round %d: %zu patterns, words identical %.2f %%\n", round,
                             lo, 100.0 * score.WordsRight / std::max(1LL, score.Words));
            if (round == 0 || score.WordsRight > bestScore.WordsRight) {
                best = std::move(fit);
                bestScore = score;
                kept = lo;
                edgeKept = generatedKept = 0;
                for (std::size_t i = 0; i < lo; ++i) {
                    edgeKept += ranking[i] >= sourcePatterns && ranking[i] < edgeEnd;
                    generatedKept += ranking[i] >= edgeEnd;
                }
                kept -= edgeKept + generatedKept;
            }
            if (round == o.Rounds) break;
            // The next round keeps the best file's strongest patterns and lets
            // the mending patterns compete for the rest of the room.
            forced.assign(ranking.begin(), ranking.begin() + static_cast<long>(lo * o.Keep));
            auto more = ErrorPatterns(best.Image, words, t, pool);
            generated += more.size();
            if (!o.Quiet) std::fprintf(stderr, "  %zu patterns cut from the errors\n", more.size());
            for (auto& m : more)
                pool.push_back(std::move(m));
        }
        (void)generated;
    }
    std::ofstream out(o.Out, std::ios::binary);
    out.write(reinterpret_cast<const char*>(best.Image.data()),
              static_cast<std::streamsize>(best.Image.size()));
    if (!out) throw std::runtime_error("cannot write " + o.Out);
    const TScore s = Score(best.Image, words, o.Show);
    std::printf("%s: %zu of %zu source patterns kept (+%zu edge, +%zu from errors), %d trie "
                "entries (%d nodes, %d "
                "families), %d "
                "operations, %zu bytes; words identical %.2f %%, points found %.2f %%, extra "
                "points %lld\n",
                o.Out.c_str(), kept, dic.Patterns.size(), edgeKept, generatedKept, best.Entries,
                best.TrieNodes, best.Families, best.Operations, best.Image.size(),
                100.0 * s.WordsRight / std::max(1LL, s.Words),
                100.0 * s.PointsFound / std::max(1LL, s.Points), s.Extra);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(a + " needs a value");
            return argv[++i];
        };
        try {
            if (a == "--dic")
                o.Dic = value();
            else if (a == "--words")
                o.Words = value();
            else if (a == "--out")
                o.Out = value();
            else if (a == "--label")
                o.Label = value();
            else if (a == "--quiet")
                o.Quiet = true;
            else if (a == "--keep-numbers")
                o.Reduce = false;
            else if (a == "--no-edge-patterns")
                o.EdgeRules = false;
            else if (a == "--select")
                o.Select = true;
            else if (a == "--rounds")
                o.Rounds = std::stoi(value());
            else if (a == "--keep")
                o.Keep = std::stod(value());
            else if (a == "--show")
                o.Show = std::stoi(value());
            else
                throw std::runtime_error("unknown option " + a);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "hyphen-compile: %s\n", e.what());
            return 2;
        }
    }
    if (o.Dic.empty() || o.Words.empty() || o.Out.empty()) {
        std::fprintf(
            stderr,
            "usage: hyphen-compile --dic FILE.dic --words WORDLIST --out FILE.hyp "
            "[--label TEXT] [--rounds N] [--keep SHARE] [--select] [--show N] [--keep-numbers] "
            "[--no-edge-patterns] [--quiet]\n");
        return 2;
    }
    if (o.Label.empty()) o.Label = "Lyrivox hyphenation patterns";
    try {
        return Run(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "hyphen-compile: %s\n", e.what());
        return 1;
    }
}
