// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadPsp(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("Paint Shop Pro pictures are not supported yet");
}
