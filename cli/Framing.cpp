#include "cli/Framing.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "formats/Readers.h"

#include <filesystem>

namespace quillon {

void SaveByName(const PhotoDocument& document, const std::string& output) {
    if (!document.Save(output)) throw PictureError("No picture writer for " + output);
}

void SaveAs(const PhotoDocument& document, const std::string& output, OutputFormat format) {
    const Bitmap& picture = *document.Result();
    std::vector<std::uint8_t> bytes;
    switch (format) {
    case OutputFormat::Jpeg:
        bytes = EncodePicture(picture, SaveFormat::Jpeg, document.Metadata());
        break;
    case OutputFormat::Gif:
        bytes = EncodePicture(picture, SaveFormat::Gif);
        break;
    case OutputFormat::Bmp:
        // Streamed a block of rows at a time, never whole in memory.
        SaveBmpFile(picture, output);
        return;
    case OutputFormat::Png:
        bytes = EncodePicture(picture, SaveFormat::Png, document.Metadata());
        break;
    case OutputFormat::Webp:
        bytes = EncodePicture(picture, SaveFormat::Webp, document.Metadata());
        break;
    }
    WriteFileReplacing(output, bytes);
}

std::string ResolvePatternFile(const std::string& name) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(name, ec)) return name;
    if (!name.empty() && name[0] != '/') {
        const std::string inData = StartFolderFile(name);
        if (std::filesystem::is_regular_file(inData, ec)) return inData;
    }
    const std::string noCase = FindFileNoCase(name);
    if (std::filesystem::is_regular_file(noCase, ec)) return noCase;
    return {};
}

} // namespace quillon
