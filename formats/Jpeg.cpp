// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadJpeg(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("JPEG pictures are not supported yet");
}

std::vector<std::uint8_t> EncodeJpeg(const TBitmap&) { throw EPictureError("JPEG writing is not supported yet"); }
