// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadSgi(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("SGI pictures are not supported yet");
}
