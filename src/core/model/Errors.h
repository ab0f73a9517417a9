#pragma once
#include <stdexcept>
#include <string>

namespace lv {

// Every failure of reading or building MIDI data; carries the finished user message.
class EMidiError : public std::runtime_error {
  public:
    explicit EMidiError(const std::string& message) : std::runtime_error(message) {}
};

// A value outside its field: reading past the end of the file image, a format
// above 255, a denominator exponent of 8 or more, a 16-bit counter overflow.
class ERangeError : public std::out_of_range {
  public:
    explicit ERangeError(const std::string& message) : std::out_of_range(message) {}
};

} // namespace lv
