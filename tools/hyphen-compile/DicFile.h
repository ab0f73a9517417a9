#pragma once
// Reading the hyphenation dictionaries of Debian's hyphen-* packages: a charset
// line, a few keyword lines, then Liang patterns ("a1b", ".ab3a4s"), one per
// line, optionally split into two levels by NEXTLEVEL (compound boundaries
// first, syllables second). Patterns come back as Windows-1252 lower case.
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Cp1252.h"

namespace lvhyph {

struct TDicPattern {
    std::string Letters; // '.' marks a word edge
    std::vector<std::uint8_t>
        Values;    // Letters.size() + 1 numbers, gap before each letter and after the last
    int Level = 1; // 1, or 2 after NEXTLEVEL
};

struct TDicFile {
    std::string Charset; // "UTF-8" or "ISO8859-1"
    int LeftMin = 0, RightMin = 0;
    bool TwoLevels = false;
    std::vector<TDicPattern> Patterns;
    int Skipped = 0; // outside Windows-1252, non-standard or with a hyphen
};

inline std::optional<std::string> DicToCp1252(const TDicFile& d, const std::string& s) {
    if (d.Charset == "UTF-8") return Utf8ToCp1252(s);
    return Latin1ToCp1252(s);
}

inline std::optional<std::string> Cp1252ToDic(const TDicFile& d, const std::string& s) {
    if (d.Charset == "UTF-8") return Cp1252ToUtf8(s);
    return Cp1252ToLatin1(s);
}

inline TDicFile ReadDic(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    TDicFile d;
    std::string line;
    bool first = true;
    int level = 1;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (first) {
            d.Charset = line;
            first = false;
            continue;
        }
        if (line.empty() || line[0] == '#' || line[0] == '%') continue;
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "LEFTHYPHENMIN") {
            words >> d.LeftMin;
            continue;
        }
        if (key == "RIGHTHYPHENMIN") {
            words >> d.RightMin;
            continue;
        }
        if (key == "NEXTLEVEL") {
            d.TwoLevels = true;
            level = 2;
            continue;
        }
        if (key.rfind("COMPOUND", 0) == 0 || key == "NOHYPHEN" || key == "NOHYPHENMIN") continue;
        if (key.find('/') != std::string::npos) {
            ++d.Skipped;
            continue;
        }
        const auto text = DicToCp1252(d, key);
        if (!text) {
            ++d.Skipped;
            continue;
        }
        TDicPattern p;
        p.Level = level;
        p.Values.push_back(0);
        bool ok = true;
        for (unsigned char c : *text) {
            if (c >= '0' && c <= '9') {
                p.Values.back() = static_cast<std::uint8_t>(c - '0');
            } else if (c == '-' || c == '=' || c == '_' || c == ' ') {
                ok = false;
            } else {
                p.Letters += static_cast<char>(Lower1252(c));
                p.Values.push_back(0);
            }
        }
        if (!ok || p.Letters.empty()) {
            ++d.Skipped;
            continue;
        }
        d.Patterns.push_back(std::move(p));
    }
    return d;
}

} // namespace lvhyph
