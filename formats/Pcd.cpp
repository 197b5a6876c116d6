// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadPcd(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("Photo CD pictures are not supported yet");
}
