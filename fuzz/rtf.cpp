// The RTF text reader on arbitrary bytes: no crash, no hang, and never more
// text than input (every output byte stands for at least one input byte).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "lyrics/RtfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::string text = lv::RtfToPlainText(in);
    if (text.size() > size) std::abort();
    (void)lv::LooksLikeRtf(in);
    return 0;
}
