// Placeholder until this reader is written.
#include "formats/Readers.h"

void ReadPng(std::span<const std::uint8_t>, const std::string&, TBitmap&) {
    throw EPictureError("PNG pictures are not supported yet");
}
