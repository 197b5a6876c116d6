// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadPsd(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("Photoshop pictures are not supported yet");
}
