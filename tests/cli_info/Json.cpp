#include "Json.h"

#include <cstdlib>

#include "text/CodePage.h"

namespace lvtest {

namespace {

class TParser {
  public:
    explicit TParser(const std::string& t) : T(t) {}
    TJsonValue Document() {
        TJsonValue v = Value();
        Space();
        if (P != T.size()) Fail("text after the value");
        return v;
    }

  private:
    [[noreturn]] void Fail(const std::string& why) {
        throw std::runtime_error("JSON: " + why + " at " + std::to_string(P));
    }
    void Space() {
        while (P < T.size() && (T[P] == ' ' || T[P] == '\n' || T[P] == '\r' || T[P] == '\t'))
            ++P;
    }
    bool Take(char c) {
        Space();
        if (P < T.size() && T[P] == c) {
            ++P;
            return true;
        }
        return false;
    }
    void Expect(char c) {
        if (!Take(c)) Fail(std::string("expected ") + c);
    }
    bool Word(const char* w) {
        const std::string s(w);
        if (T.compare(P, s.size(), s) != 0) return false;
        P += s.size();
        return true;
    }
    TJsonValue Value() {
        Space();
        if (P >= T.size()) Fail("unexpected end");
        TJsonValue v;
        const char c = T[P];
        if (c == '{') {
            ++P;
            v.Type = TJsonValue::TType::Object;
            if (Take('}')) return v;
            do {
                Space();
                if (P >= T.size() || T[P] != '"') Fail("expected a key");
                std::string key = String();
                Expect(':');
                if (v.Object.count(key)) Fail("duplicate key " + key);
                v.Keys.push_back(key);
                v.Object[key] = Value();
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            ++P;
            v.Type = TJsonValue::TType::Array;
            if (Take(']')) return v;
            do
                v.Array.push_back(Value());
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            v.Type = TJsonValue::TType::String;
            v.String = String();
        } else if (Word("true")) {
            v.Type = TJsonValue::TType::Bool;
            v.Bool = true;
        } else if (Word("false")) {
            v.Type = TJsonValue::TType::Bool;
        } else if (Word("null")) {
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const std::size_t start = P;
            if (T[P] == '-') ++P;
            while (P < T.size() && std::string("0123456789.eE+-").find(T[P]) != std::string::npos)
                ++P;
            char* end = nullptr;
            const std::string num = T.substr(start, P - start);
            v.Type = TJsonValue::TType::Number;
            v.Number = std::strtod(num.c_str(), &end);
            if (end != num.c_str() + num.size()) Fail("bad number");
        } else {
            Fail("unexpected character");
        }
        return v;
    }
    unsigned Hex4() {
        if (P + 4 > T.size()) Fail("short \\u escape");
        const unsigned v = static_cast<unsigned>(std::stoul(T.substr(P, 4), nullptr, 16));
        P += 4;
        return v;
    }
    std::string String() {
        ++P; // opening quote
        std::string out;
        while (true) {
            if (P >= T.size()) Fail("unterminated string");
            const auto c = static_cast<unsigned char>(T[P++]);
            if (c == '"') return out;
            if (c < 0x20) Fail("raw control character in a string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (P >= T.size()) Fail("unterminated escape");
            const char e = T[P++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned cp = Hex4();
                if (cp >= 0xD800 && cp < 0xDC00 && T.compare(P, 2, "\\u") == 0) {
                    P += 2;
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (Hex4() - 0xDC00);
                }
                lv::AppendUtf8(out, static_cast<char32_t>(cp));
                break;
            }
            default:
                Fail("bad escape");
            }
        }
    }
    const std::string& T;
    std::size_t P = 0;
};

} // namespace

TJsonValue ParseJson(const std::string& text) {
    return TParser(text).Document();
}

} // namespace lvtest
