// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadPcx(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("PCX pictures are not supported yet");
}
