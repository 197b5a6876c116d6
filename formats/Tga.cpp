// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadTga(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("TGA pictures are not supported yet");
}
