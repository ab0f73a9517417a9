// Code page conversions on arbitrary input: bytes -> UTF-8 -> bytes gives the
// same bytes back, and any UTF-8 (valid or not) encodes without running off
// the end of its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = lv::DecodeToUtf8(bytes);
    std::size_t replaced = 0;
    if (lv::EncodeFromUtf8(utf8, lv::TCodePage::Windows1252, &replaced) != bytes || replaced != 0)
        std::abort();
    const std::string back = lv::EncodeFromUtf8(bytes, lv::TCodePage::Windows1252, &replaced);
    if (back.size() > bytes.size() || replaced > bytes.size()) std::abort();
    return 0;
}
