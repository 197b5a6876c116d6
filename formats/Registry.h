// TFileFormatList: the reader registry. Each entry maps a lower-case
// extension to a reader; a lookup lower-cases the asked extension and
// searches from the latest registration back, so a later registration of the
// same extension wins.
#pragma once

#include "canvas/Bitmap.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Decodes a whole file's bytes into out. fileName is given for readers that
// look for a companion file (the Dr. Halo palette). Throws EPictureError.
using TPictureReader = void (*)(std::span<const std::uint8_t> data, const std::string& fileName,
                                TBitmap& out);

struct TFileFormat {
    std::string Extension; // lower case, no dot
    std::string Description;
    TPictureReader Reader; // null: not a bitmap (icons, metafiles)
};

class TFileFormatList {
public:
    // The registry filled with every format the program reads.
    static const TFileFormatList& Instance();

    void RegisterFileFormat(const std::string& extension, const std::string& description,
                            TPictureReader reader);
    // The latest registration of the extension (any case), or null.
    const TFileFormat* Find(const std::string& extension) const;
    const std::vector<TFileFormat>& Formats() const { return formats_; }

private:
    std::vector<TFileFormat> formats_;
};
