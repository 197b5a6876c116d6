// Little-endian numbers appended to a byte buffer, as the BMP and GIF file
// headers store them.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon {

inline void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t x) {
    out.push_back(std::uint8_t(x));
    out.push_back(std::uint8_t(x >> 8));
}

inline void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t x) {
    PutLe16(out, x & 0xFFFF);
    PutLe16(out, x >> 16);
}

} // namespace quillon
