// FileFormatList: the reader registry. Each entry maps a lower-case
// extension to a reader; a lookup lower-cases the asked extension and
// searches from the latest registration back, so a later registration of the
// same extension wins.
#pragma once

#include "canvas/Bitmap.h"
#include "formats/DecodeLimits.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quillon {

// Decodes a whole file's bytes into out, within limits. fileName is given for
// readers that look for a companion file (the Dr. Halo palette). Throws
// PictureError with the kind of fault; out is replaced only on success.
using PictureReader = void (*)(std::span<const std::uint8_t> data, const std::string& fileName,
                               Bitmap& out, const DecodeLimits& limits);

struct FileFormat {
    std::string Extension; // lower case, no dot
    std::string Description;
    PictureReader Reader;          // null: not a bitmap (icons, metafiles)
    std::uint64_t BytesNeeded = 0; // a fixed layout read from the file's first bytes; 0: all
};

class FileFormatList {
public:
    // The registry filled with every format the program reads.
    static const FileFormatList& Instance();

    void RegisterFileFormat(const std::string& extension, const std::string& description,
                            PictureReader reader, std::uint64_t bytesNeeded = 0);
    // The latest registration of the extension (any case), or null.
    const FileFormat* Find(const std::string& extension) const;
    const std::vector<FileFormat>& Formats() const { return formats_; }

private:
    std::vector<FileFormat> formats_;
};

} // namespace quillon
