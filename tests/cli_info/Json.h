#pragma once
// A small strict JSON reader for checking the CLI's output: any syntax error
// throws, so a test that parses the output also checks it is valid JSON.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace lvtest {

struct TJsonValue {
    enum class TType { Null, Bool, Number, String, Array, Object } Type = TType::Null;
    bool Bool = false;
    double Number = 0;
    std::string String; // UTF-8
    std::vector<TJsonValue> Array;
    std::vector<std::string> Keys; // object keys in their order
    std::map<std::string, TJsonValue> Object;

    const TJsonValue& operator[](const std::string& key) const {
        const auto it = Object.find(key);
        if (Type != TType::Object || it == Object.end())
            throw std::runtime_error("no key \"" + key + "\"");
        return it->second;
    }
    const TJsonValue& operator[](std::size_t i) const {
        if (Type != TType::Array || i >= Array.size()) throw std::runtime_error("no index");
        return Array[i];
    }
    long long Int() const { return static_cast<long long>(Number); }
    std::size_t Size() const { return Type == TType::Array ? Array.size() : Keys.size(); }
};

TJsonValue ParseJson(const std::string& text);

} // namespace lvtest
