#include "cli/Framing.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "formats/Readers.h"

#include <algorithm>
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

// What turns the lengths of the options into pixels for one photo.
struct LengthScale {
    int shorterSide = 0;
    std::optional<double> pixelsPerInch;
};

LengthScale ScaleFor(const Bitmap& photo, const CliOptions& o) {
    LengthScale s;
    s.shorterSide = std::min(photo.Width(), photo.Height());
    if (o.dpi) s.pixelsPerInch = *o.dpi;
    if (o.printSize)
        s.pixelsPerInch = ResolutionForPrintSize(photo.Width(), photo.Height(), o.printSize->width,
                                                 o.printSize->height, o.printSize->unit);
    return s;
}

// A length in pixels. Given with a unit, it may be up to half the photo's
// shorter side; in plain pixels, up to pixelLimit, the style's own.
std::optional<int> Pixels(const std::optional<Length>& length, const char* option,
                          const LengthScale& scale, int pixelLimit) {
    if (!length) return std::nullopt;
    const int pixels = LengthInPixels(*length, scale.shorterSide, scale.pixelsPerInch);
    const bool withUnit = length->unit != LengthUnit::Pixels;
    const int limit = withUnit ? scale.shorterSide / 2 : pixelLimit;
    if (pixels > limit)
        throw UsageError(std::string(option) + " " + FormatLength(*length) + " is " +
                         std::to_string(pixels) + " pixels; this photo takes at most " +
                         std::to_string(limit) + (withUnit ? " (half its shorter side)" : ""));
    return pixels;
}

void ApplyGroup(PhotoDocument& doc, const FrameGroup& g, const LengthScale& scale) {
    doc.SelectStyle(*g.style);
    if (doc.Style() != g.style) throw PictureError("There is no picture to frame");
    const FrameStyle& frame = *doc.CurrentFrame();
    const StyleInfo& info = StyleInfoOf(*g.style);
    const int thickness = frame.ThicknessLimit();
    const auto frameHeight = Pixels(g.frameHeight, "--frame-height", scale, thickness);
    const auto frameWidth = Pixels(g.frameWidth, "--frame-width", scale, thickness);
    // The mask's third field is a brightness, not a length.
    const int borderWidth = !g.borderWidth            ? -1
                            : info.thirdFieldIsLength ? *Pixels(g.borderWidth, "--border-width",
                                                                scale, frame.BorderWidthLimit())
                                                      : int(g.borderWidth->value);
    FrameStyle::Sides sides;
    sides.top = Pixels(g.frameTop, "--frame-top", scale, thickness);
    sides.bottom = Pixels(g.frameBottom, "--frame-bottom", scale, thickness);
    sides.left = Pixels(g.frameLeft, "--frame-left", scale, thickness);
    sides.right = Pixels(g.frameRight, "--frame-right", scale, thickness);
    if (g.frameColor) {
        // The colour swatch removes a fill pattern before it sets the colour.
        doc.SetPattern("");
        doc.SetFrameColor(*g.frameColor);
    }
    if (g.borderColor) doc.SetBorderColor(*g.borderColor);
    if (g.pattern) doc.ChooseDecoration(*g.pattern);
    if (frameHeight) doc.SetFrameHeight(*frameHeight);
    if (frameWidth) doc.SetFrameWidth(*frameWidth);
    if (sides.top || sides.bottom || sides.left || sides.right) doc.SetSides(sides);
    if (g.borderWidth) doc.SetBorderWidth(borderWidth);
    if (g.scaled) doc.SetScaled(*g.scaled);
    doc.DrawPictureCentred();
    doc.DrawFrame();
}

} // namespace

std::unique_ptr<PhotoDocument> FramePicture(const std::string& input, const CliOptions& o) {
    auto doc = std::make_unique<PhotoDocument>();
    doc->SetSeed(o.seed);
    doc->Open(input, kZoom);
    if (doc->Photo().Empty()) throw PictureError("File " + input + " appears corrupted!");
    LengthScale scale;
    for (std::size_t i = 0; i < o.groups.size(); ++i) {
        const FrameGroup& g = o.groups[i];
        // "Apply Frame": the framed picture becomes the new photo.
        if (i > 0) doc->ApplyFrame(kZoom);
        for (const ImageCommand& c : g.commands) RunCommand(*doc, c);
        if (i == 0) scale = ScaleFor(doc->Photo(), o);
        if (g.style) ApplyGroup(*doc, g, scale);
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
