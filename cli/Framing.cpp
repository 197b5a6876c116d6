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
    switch (format) {
    case OutputFormat::Jpeg:
        return WritePictureFile(picture, SaveFormat::Jpeg, output, document.Metadata());
    case OutputFormat::Gif:
        return WritePictureFile(picture, SaveFormat::Gif, output);
    case OutputFormat::Bmp:
        return WritePictureFile(picture, SaveFormat::Bmp, output);
    case OutputFormat::Png:
        return WritePictureFile(picture, SaveFormat::Png, output, document.Metadata());
    case OutputFormat::Webp:
        return WritePictureFile(picture, SaveFormat::Webp, output, document.Metadata());
    }
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
