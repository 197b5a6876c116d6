#include "cli/Framing.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "formats/Readers.h"

#include <filesystem>

namespace quillon {

namespace {

// Styles are chosen at 100 %, so that the defaults that follow the picture's
// shown size follow its full size, and crop coordinates are full-size pixels.
constexpr Zoom kZoom = Zoom::Normal;

void RunCommand(PhotoDocument& doc, const ImageCommand& c) {
    switch (c.kind) {
    case ImageCommand::RotateRight:
        doc.RotateRight();
        break;
    case ImageCommand::RotateLeft:
        doc.RotateLeft();
        break;
    case ImageCommand::Rotate180:
        doc.Rotate180();
        break;
    case ImageCommand::Gray:
        doc.GrayScale();
        break;
    case ImageCommand::Negative:
        doc.Negative();
        break;
    case ImageCommand::Resize:
        // The desktop program shows a resized or cropped picture as a new
        // document, as if pasted.
        doc.Resize(c.a, c.b);
        doc.Reopen(kZoom);
        break;
    case ImageCommand::Crop:
        doc.Crop(c.a, c.b, c.c, c.d);
        doc.Reopen(kZoom);
        break;
    }
}

void ApplyGroup(PhotoDocument& doc, const FrameGroup& g) {
    doc.SelectStyle(*g.style);
    if (doc.Style() != g.style) throw PictureError("There is no picture to frame");
    if (g.frameColor) {
        // The colour swatch removes a fill pattern before it sets the colour.
        doc.SetPattern("");
        doc.SetFrameColor(*g.frameColor);
    }
    if (g.borderColor) doc.SetBorderColor(*g.borderColor);
    if (g.pattern) doc.ChooseDecoration(*g.pattern);
    if (g.frameHeight) doc.SetFrameHeight(*g.frameHeight);
    if (g.frameWidth) doc.SetFrameWidth(*g.frameWidth);
    if (g.borderWidth) doc.SetBorderWidth(*g.borderWidth);
    if (g.scaled) doc.SetScaled(*g.scaled);
    doc.DrawPictureCentred();
    doc.DrawFrame();
}

} // namespace

std::unique_ptr<PhotoDocument> FramePicture(const std::string& input,
                                            const std::vector<FrameGroup>& groups,
                                            std::optional<std::uint32_t> seed) {
    auto doc = std::make_unique<PhotoDocument>();
    doc->SetSeed(seed);
    doc->Open(input, kZoom);
    if (doc->Photo().Empty()) throw PictureError("File " + input + " appears corrupted!");
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const FrameGroup& g = groups[i];
        // "Apply Frame": the framed picture becomes the new photo.
        if (i > 0) doc->ApplyFrame(kZoom);
        for (const ImageCommand& c : g.commands) RunCommand(*doc, c);
        if (g.style) ApplyGroup(*doc, g);
    }
    return doc;
}

void SaveByName(const PhotoDocument& document, const std::string& output) {
    if (!document.Save(output)) throw PictureError("No picture writer for " + output);
}

void SaveAs(const PhotoDocument& document, const std::string& output, OutputFormat format) {
    const Bitmap& picture = *document.Result();
    std::vector<std::uint8_t> bytes;
    switch (format) {
    case OutputFormat::Jpeg:
        bytes = EncodeJpeg(picture);
        break;
    case OutputFormat::Gif:
        bytes = EncodeGif(picture);
        break;
    case OutputFormat::Bmp:
        bytes = EncodeBmp(picture);
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
