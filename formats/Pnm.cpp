// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadPnm(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("Portable bitmap pictures are not supported yet");
}
