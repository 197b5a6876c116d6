// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadAutodesk(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("Autodesk pictures are not supported yet");
}
