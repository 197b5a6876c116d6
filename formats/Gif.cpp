// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadGif(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("GIF pictures are not supported yet");
}

std::vector<std::uint8_t> EncodeGif(const TBitmap&) { throw EPictureError("GIF writing is not supported yet"); }
