// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadRla(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("RLA pictures are not supported yet");
}
