#include "cli/Framing.h"

#include "document/ImageCommands.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "formats/Readers.h"
#include "frames/Ornate.h"

#include <filesystem>

namespace quillon {

namespace {

// The zoom the styles are chosen at: 100 %, so that the defaults that follow
// the picture's displayed size follow its full size.
constexpr int kZoom = 0;
// The command line has no screen, so the previews that every step redraws
// are kept at the smallest zoom, 10 %. Only the previews depend on it: the
// framed pictures are full size whatever the zoom.
constexpr int kPreviewZoom = 5;

bool ContainsAny(const std::string& text, std::initializer_list<const char*> words) {
    for (const char* w : words)
        if (text.find(w) != std::string::npos) return true;
    return false;
}

// A new document from the clipboard, as the paste command makes one.
std::unique_ptr<TButtonBar> Reopen(int zoom) {
    auto doc = std::make_unique<TButtonBar>(true);
    doc->LoadPicture("Clipboard", nullptr, zoom, true);
    return doc;
}

void RunCommand(std::unique_ptr<TButtonBar>& doc, const TImageCommand& c, int zoom) {
    switch (c.kind) {
    case TImageCommand::RotateRight:
        doc->RotateRight();
        break;
    case TImageCommand::RotateLeft:
        doc->RotateLeft();
        break;
    case TImageCommand::Rotate180:
        doc->Rotate180();
        break;
    case TImageCommand::Gray:
        GrayScalePicture(*doc);
        break;
    case TImageCommand::Negative:
        NegativePicture(*doc);
        break;
    case TImageCommand::Resize:
        doc->ResizePicture(c.a, c.b);
        doc = Reopen(zoom);
        break;
    case TImageCommand::Crop:
        doc->CropPicture(c.a, c.b, c.c, c.d);
        doc = Reopen(zoom);
        break;
    }
}

// The picker's double-click on an ornate picture: the thickness follows the
// picture's height, the path's spelling of "clip" or "trn" picks the corner
// treatment, and a transparent ornament lies over the photo instead of
// round it.
void ChooseOrnate(TButtonBar& doc, const std::string& path) {
    doc.SetPattern(path);
    doc.SetFrameHeight(doc.GetPatternHeight());
    doc.SetFrameWidth(doc.GetPatternHeight());
    const bool clip = ContainsAny(path, {"clip", "CLIP", "Clip"});
    const bool trn = ContainsAny(path, {"trn", "Trn", "TRN"});
    if (auto* f = static_cast<TOrnateFrame*>(doc.CurrentFrame())) {
        f->ClipCorners = clip;
        f->TransparentPieces = !clip && trn;
    }
    const int t = doc.GetPatternHeight();
    if (trn)
        doc.SetOutputSize(doc.GetPictureWidth(), doc.GetPictureHeight());
    else
        doc.SetOutputSize(doc.GetPictureWidth() + 2 * t, doc.GetPictureHeight() + 2 * t);
    doc.DrawFrame();
}

void ApplyFrame(TButtonBar& doc, const TFrameGroup& g) {
    doc.SelectStyle(g.style, kPreviewZoom);
    if (doc.Style != g.style) throw PictureError("There is no picture to frame");
    if (g.frameColor) {
        // The colour swatch removes a fill pattern before it sets the colour.
        doc.SetPattern("");
        doc.SetFrameColor(*g.frameColor);
    }
    if (g.borderColor) doc.SetBorderColor(*g.borderColor);
    if (g.pattern) {
        if (g.style == fsOrnate) {
            ChooseOrnate(doc, *g.pattern);
        } else {
            doc.SetPattern(*g.pattern);
            doc.DrawPictureCentred();
            doc.DrawFrame();
        }
    }
    if (g.frameHeight) doc.SetFrameHeight(*g.frameHeight);
    if (g.frameWidth) doc.SetFrameWidth(*g.frameWidth);
    if (g.borderWidth) doc.SetBorderWidth(*g.borderWidth);
    if (g.scaled) doc.SetScaled(*g.scaled);
    doc.DrawPictureCentred();
    doc.DrawFrame();
}

const Bitmap& ResultPicture(TButtonBar& doc) {
    float scale = 1.0f;
    if (const Bitmap* framed = doc.GetFramedPicture(scale)) return *framed;
    return *doc.Photo;
}

} // namespace

std::unique_ptr<TButtonBar> FramePicture(const std::string& input,
                                         const std::vector<TFrameGroup>& groups) {
    // A group that chooses a style shows its picture at 100 %, because the
    // style's defaults follow the displayed size; so does one that crops,
    // because crop coordinates are displayed pixels. Any other group only
    // redraws previews and works at the preview zoom.
    const auto zoomFor = [](const TFrameGroup& g) {
        bool crops = false;
        for (const auto& c : g.commands) crops = crops || c.kind == TImageCommand::Crop;
        return g.style >= 0 || crops ? kZoom : kPreviewZoom;
    };
    int zoom = zoomFor(groups[0]);
    auto doc = std::make_unique<TButtonBar>(true);
    doc->LoadPicture(input, nullptr, zoom, false);
    if (doc->Photo->Empty()) throw PictureError("File " + input + " appears corrupted!");
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const TFrameGroup& g = groups[i];
        if (i > 0) {
            // "Apply Frame": the framed picture becomes the new photo.
            doc->CopyToClipboard();
            zoom = zoomFor(g);
            doc = Reopen(zoom);
        }
        for (const TImageCommand& c : g.commands) RunCommand(doc, c, zoom);
        if (g.style >= 0) ApplyFrame(*doc, g);
    }
    return doc;
}

void SaveByName(TButtonBar& document, const std::string& output) {
    if (!document.SavePicture(output)) throw PictureError("No picture writer for " + output);
}

void SaveAs(TButtonBar& document, const std::string& output, TOutputFormat format) {
    const Bitmap& picture = ResultPicture(document);
    std::vector<std::uint8_t> bytes;
    switch (format) {
    case TOutputFormat::Jpeg:
        bytes = EncodeJpeg(picture);
        break;
    case TOutputFormat::Gif:
        bytes = EncodeGif(picture);
        break;
    case TOutputFormat::Bmp:
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
