#include "frames/StyleCatalog.h"

#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/BoxFrame.h"
#include "frames/BubbleFrame.h"
#include "frames/ButtonFrame.h"
#include "frames/DropShadowFrame.h"
#include "frames/GrayscaleFrame.h"
#include "frames/JaggedFrame.h"
#include "frames/MatteFrames.h"
#include "frames/OrnateFrame.h"
#include "frames/OvalDiamondFrames.h"
#include "frames/OverlayMaskFrames.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace quillon {

namespace {

// The default decoration pictures, below the data folder.
constexpr const char* kOrnateSizeFile = "Ornate/_Orn001.bmp";
constexpr const char* kOrnateDefault = "ORNATE/_ORN001.BMP";
constexpr const char* kMaskDefault = MaskFrame::kDefaultMask;
constexpr const char* kOverlayDefault = OverlayFrame::kDefaultOverlay;

template <class Style>
std::unique_ptr<FrameStyle> Make(const Bitmap& photo, const FrameSettings& settings) {
    return std::make_unique<Style>(photo, settings);
}

FrameSettings Settings(int fw, int fh, Color frame, bool expand, int borderWidth = 1,
                       Color background = kWhite) {
    return MakeFrameSettings(fw, fh, frame, kBlack, expand, borderWidth, background);
}

FrameSettings WithDecoration(FrameSettings s, const char* file) {
    s.decorationFile = StartFolderFile(file);
    return s;
}

// The data file as found, or MissingDataError when the data folder lacks it.
std::string RequireDataFile(const char* relative) {
    const std::string file = StartFolderFile(relative);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) throw MissingDataError(relative);
    return file;
}

FrameSettings OrnateDefaults(int, int) {
    // The default moulding's size gives the frame its thickness; a missing
    // moulding fails here, before the document changes.
    const std::string file = RequireDataFile(kOrnateSizeFile);
    Bitmap probe;
    LoadBmpFile(file, probe);
    return WithDecoration(Settings(probe.Width(), probe.Height(), kOlive, true), kOrnateDefault);
}

const std::array<StyleInfo, kStyleCount> kCatalog = {{
    {StyleId::Corner,
     "corner",
     "Corner Frame",
     "mitred frame",
     8,
     {"Frame Height", "Frame Width", "Border Width", "Frame Color", "Border Color", "Fill Pattern",
      ""},
     {"min(W,H)/10", "min(W,H)/10", "1", "808080", "000000", "none", ""},
     kMaxBorderWidth,
     [](int w, int h) {
         const int t = std::min(w, h) / 10;
         return Settings(t, t, kGray, true);
     },
     Make<CornerFrame>,
     true,
     true},
    {StyleId::Matte,
     "matte",
     "Matte Frame",
     "plain matte",
     7,
     {"Matte Height", "Matte Width", "Border Width", "Matte Color", "Border Color", "Fill Pattern",
      ""},
     {"min(W,H)/10", "min(W,H)/10", "1", "C0C0C0", "000000", "none", ""},
     kMaxBorderWidth,
     [](int w, int h) {
         const int t = std::min(w, h) / 10;
         return Settings(t, t, kSilver, true, 1, kSilver);
     },
     Make<MatteFrame>,
     true,
     true},
    {StyleId::Jagged,
     "jagged",
     "Jagged Edges",
     "torn edge",
     3,
     {"Horiz Edge", "Vertical Edge", "Thickness", "Background Color", "Border Color",
      "Fill Pattern", ""},
     {"H/15", "W/15", "1", "FFFFFF", "000000", "none", ""},
     kMaxBorderWidth,
     [](int w, int h) { return Settings(w / 15, h / 15, kWhite, false); },
     Make<JaggedFrame>},
    {StyleId::Oval,
     "oval",
     "Oval",
     "oval opening",
     9,
     {"Vertical Gap", "Horiz Gap", "Thickness", "Background Color", "Border Color", "Pattern", ""},
     {"1", "1", "1", "FFFFFF", "000000", "none", ""},
     kMaxBorderWidth,
     [](int, int) { return Settings(1, 1, kWhite, false); },
     Make<OvalFrame>},
    {StyleId::Diamond,
     "diamond",
     "Diamond",
     "diamond opening",
     10,
     {"Vertical Gap", "Horiz Gap", "Thickness", "Background Color", "Border Color", "Pattern", ""},
     {"1", "1", "2", "FFFFFF", "000000", "none", ""},
     kMaxBorderWidth,
     [](int, int) { return Settings(1, 1, kWhite, true, 2); },
     Make<DiamondFrame>},
    {StyleId::Grayscale,
     "grayscale",
     "Grayscale",
     "photo faded to gray inside coloured bands",
     11,
     {"Horizontal Color Band", "Vertical Color Band", "", "", "", "", ""},
     {"0", "0", "", "", "", "", ""},
     kMaxBorderWidth,
     [](int, int) { return Settings(0, 0, kOlive, false); },
     Make<GrayscaleFrame>},
    {StyleId::Bubble,
     "bubble",
     "Bubble Frame",
     "chains of bubbles",
     12,
     {"Frame Height", "Frame Width", "Thickness", "Frame Color", "Border Color", "Pattern", ""},
     {"W/10", "W/10", "1", "FFFFFF", "000000", "none", ""},
     kMaxBorderWidth,
     [](int w, int) { return Settings(w / 10, w / 10, kWhite, false); },
     Make<BubbleFrame>},
    {StyleId::Button,
     "button",
     "3D Button",
     "3D button bevel",
     5,
     {"Shadow Depth", "", "", "", "", "", ""},
     {"W/20", "", "", "", "", "", ""},
     kMaxBorderWidth,
     [](int w, int) { return Settings(w / 20, w / 20, kOlive, false); },
     Make<ButtonFrame>},
    {StyleId::Ornate,
     "ornate",
     "Ornate Frame",
     "frame cut from a picture of a moulding",
     0,
     {"Moulding Width", "", "", "", "", "Picture Frame", ""},
     {"the moulding's height", "", "", "", "", "Ornate/_Orn001.bmp", ""},
     kMaxBorderWidth,
     OrnateDefaults,
     Make<OrnateFrame>},
    {StyleId::Shadow,
     "shadow",
     "Drop Shadow",
     "drop shadow",
     6,
     {"Spacing", "", "Shadow Width", "Shadow Color", "Border Color", "Pattern", "Realistic Shadow"},
     {"W/10", "", "the shadow pieces' width", "808080", "000000", "none", "yes"},
     kMaxBorderWidth,
     [](int w, int) {
         // The realistic shadow, on by default, is drawn from these pieces.
         for (const char* piece : DropShadowFrame::kPieces) RequireDataFile(piece);
         return Settings(w / 10, w / 10, kGray, true);
     },
     Make<DropShadowFrame>},
    {StyleId::Mask,
     "mask",
     "Mask",
     "mask fading the photo",
     2,
     {"", "", "Brightness Level", "Background Color", "", "Mask", ""},
     {"", "", "1", "808080", "", "masks/Grainy Edge.jpg", ""},
     255,
     [](int, int) { return WithDecoration(Settings(0, 0, kGray, false), kMaskDefault); },
     Make<MaskFrame>,
     false},
    {StyleId::Overlay,
     "overlay",
     "Overlay",
     "decoration laid over the photo",
     1,
     {"", "", "", "", "", "Overlay", ""},
     {"", "", "", "", "", "Overlay/Fire ball.bmp", ""},
     kMaxBorderWidth,
     [](int, int) { return WithDecoration(Settings(0, 0, kGray, false), kOverlayDefault); },
     Make<OverlayFrame>},
    {StyleId::Box,
     "box",
     "Box",
     "box seen from above",
     4,
     {"Box Depth", "", "", "Box Color", "Picture Border Color", "Pattern", "Gradient Effect"},
     {"W/10", "", "", "FFFFFF", "000000", "none", "yes"},
     kMaxBorderWidth,
     [](int w, int) { return Settings(w / 10, w / 10, kWhite, true); },
     Make<BoxFrame>},
}};

} // namespace

PictureError MissingDataError(const std::string& relative) {
    return PictureError("Quillon's data folder " + StartFolder() + " has no " + relative);
}

const std::array<StyleInfo, kStyleCount>& StyleCatalog() {
    return kCatalog;
}

const StyleInfo& StyleInfoOf(StyleId id) {
    return kCatalog[std::size_t(id)];
}

std::optional<StyleId> FindStyle(std::string_view name) {
    for (const StyleInfo& s : kCatalog)
        if (name == s.cliName) return s.id;
    int v = -1;
    const char* end = name.data() + name.size();
    const auto [p, ec] = std::from_chars(name.data(), end, v);
    if (!name.empty() && ec == std::errc() && p == end && v >= 0 && v < kStyleCount)
        return StyleId(v);
    return std::nullopt;
}

std::array<StyleId, kStyleCount> StylesInMenuOrder() {
    std::array<StyleId, kStyleCount> order{};
    for (const StyleInfo& s : kCatalog) order[std::size_t(s.menuPosition)] = s.id;
    return order;
}

} // namespace quillon
