// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadTiff(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("TIFF pictures are not supported yet");
}
