// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadCut(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("Dr. Halo pictures are not supported yet");
}
