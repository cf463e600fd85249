// The bitmap file check and the bottom-up reading of a checked file: no
// input reads outside itself, and what passes the check can be read.
#include <cstdlib>
#include <vector>

#include "math/bmp_file_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact copy, so a read past the input's end is outside the allocation.
    const std::vector<uint8_t> file(data, data + size);
    const size_t head = size < noxd::kBmpHeadBytes ? size : noxd::kBmpHeadBytes;
    noxd::BmpShape shape = {};
    const bool well_formed = noxd::ReadBmpShape(file.data(), head, size, shape);
    if (well_formed != noxd::IsWellFormedBmpFile(file.data(), head, size)) std::abort();
    std::vector<uint8_t> info, rows;
    const bool read = noxd::BottomUpDibOf(file.data(), size, info, rows);
    if (!well_formed && read) std::abort();
    if (read && (rows.size() != shape.pixel_bytes || info.size() + 14 != shape.headers_end)) std::abort();
    return 0;
}
