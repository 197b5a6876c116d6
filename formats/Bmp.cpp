// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadBmp(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("BMP pictures are not supported yet");
}

std::vector<std::uint8_t> EncodeBmp(const TBitmap&) { throw EPictureError("BMP writing is not supported yet"); }
