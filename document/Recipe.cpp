#include "document/Recipe.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quillon {

namespace {

// The setting of each edit-bar field, as the command line spells it.
constexpr std::array<const char*, kEditFieldCount> kFieldOptions = {
    "--frame-height", "--frame-width", "--border-width", "--frame-color",
    "--border-color", "--pattern",     "--scaled"};

bool HasSideOptions(const FrameGroup& g) {
    return g.frameTop || g.frameBottom || g.frameLeft || g.frameRight;
}

bool HasStyleOptions(const FrameGroup& g) {
    return g.frameColor || g.borderColor || g.pattern || g.frameHeight || g.frameWidth ||
           g.borderWidth || g.scaled || HasSideOptions(g);
}

// Styles are chosen at 100 %, so that the defaults that follow the picture's
// shown size follow its full size, and crop coordinates are full-size pixels.
constexpr Zoom kZoom = Zoom::Normal;
// A store frame's mat unless the recipe gives a colour: a warm white.
constexpr Color kStoreMatColour = RGB(0xF4, 0xF1, 0xEA);

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
        // A size over the program's limit is a mistake in the recipe, not in
        // the file.
        try {
            CheckPictureSize(c.a, c.b);
        } catch (const PictureError& e) {
            throw SettingError(std::string("--resize ") + std::to_string(c.a) + "x" +
                               std::to_string(c.b) + ": " + e.what());
        }
        // The desktop program shows a resized or cropped picture as a new
        // document, as if pasted.
        doc.Resize(c.a, c.b);
        doc.Reopen(kZoom);
        break;
    case ImageCommand::Crop: {
        const int w = doc.Photo().Width(), h = doc.Photo().Height();
        if (c.a >= w || c.b >= h || c.c <= 0 || c.d <= 0)
            throw SettingError("--crop " + std::to_string(c.a) + "," + std::to_string(c.b) + "," +
                               std::to_string(c.c) + "," + std::to_string(c.d) +
                               " lies outside the " + std::to_string(w) + " x " +
                               std::to_string(h) + " picture");
        doc.Crop(c.a, c.b, c.c, c.d);
        doc.Reopen(kZoom);
        break;
    }
    }
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
        throw SettingError(std::string(option) + " " + FormatLength(*length) + " is " +
                           std::to_string(pixels) + " pixels; this photo takes at most " +
                           std::to_string(limit) + (withUnit ? " (half its shorter side)" : ""));
    return pixels;
}

} // namespace

LengthScale ScaleFor(const Bitmap& photo, const std::optional<PrintSize>& printSize,
                     const std::optional<double>& dpi) {
    LengthScale s;
    s.shorterSide = std::min(photo.Width(), photo.Height());
    if (dpi) s.pixelsPerInch = *dpi;
    if (printSize)
        s.pixelsPerInch = ResolutionForPrintSize(photo.Width(), photo.Height(), printSize->width,
                                                 printSize->height, printSize->unit);
    return s;
}

void RunGroupCommands(PhotoDocument& doc, const FrameGroup& g) {
    for (const ImageCommand& c : g.commands) RunCommand(doc, c);
}

void FrameGroupStyle(PhotoDocument& doc, const FrameGroup& g, const LengthScale& scale) {
    if (!g.style) return;
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

    // The settings in the order the edit bar and the pickers apply them.
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
    // A recipe frames as it says or not at all: a style without the data
    // file it paints with is refused rather than drawn without it.
    if (const std::string missing = doc.CurrentFrame()->MissingDataFile(); !missing.empty())
        throw MissingDataError(missing);
    doc.DrawPictureCentred();
    doc.DrawFrame();
}

const std::vector<LengthSetting>& LengthSettings() {
    static const std::vector<LengthSetting> settings = {
        {&FrameGroup::frameHeight, "frame-height"}, {&FrameGroup::frameWidth, "frame-width"},
        {&FrameGroup::borderWidth, "border-width"}, {&FrameGroup::frameTop, "frame-top"},
        {&FrameGroup::frameBottom, "frame-bottom"}, {&FrameGroup::frameLeft, "frame-left"},
        {&FrameGroup::frameRight, "frame-right"}};
    return settings;
}

std::optional<Length> FrameGroup::*LengthMember(EditField field) {
    switch (field) {
    case EditField::FrameHeight:
        return &FrameGroup::frameHeight;
    case EditField::FrameWidth:
        return &FrameGroup::frameWidth;
    case EditField::BorderWidth:
        return &FrameGroup::borderWidth;
    default:
        return nullptr;
    }
}

bool HasPrintLengths(const FrameGroup& group) {
    for (const LengthSetting& s : LengthSettings())
        if (const auto& length = group.*s.member; length && length->IsPhysical()) return true;
    return false;
}

void CheckGroup(const FrameGroup& g, bool stacked, bool last) {
    if (!g.style && HasStyleOptions(g))
        throw RecipeError("frame options need a --style in the same group");
    if (stacked && !g.style && g.commands.empty())
        throw RecipeError(last ? "--then must be followed by a style or an image command"
                               : "--then needs a style or an image command before it");
    for (const LengthSetting& s : LengthSettings()) {
        const std::optional<Length>& length = g.*s.member;
        if (length && length->unit == LengthUnit::Percent && length->value > 50)
            throw RecipeError(std::string("--") + s.name +
                              " must be at most 50% of the photo's shorter side, not " +
                              FormatLength(*length));
    }
    if (!g.style) return;
    const StyleInfo& info = StyleInfoOf(*g.style);
    const std::pair<bool, EditField> given[] = {
        {bool(g.frameColor), EditField::FrameColor}, {bool(g.borderColor), EditField::BorderColor},
        {bool(g.pattern), EditField::Decoration},    {bool(g.frameHeight), EditField::FrameHeight},
        {bool(g.frameWidth), EditField::FrameWidth}, {bool(g.borderWidth), EditField::BorderWidth},
        {bool(g.scaled), EditField::CheckBox}};
    for (const auto& [present, field] : given)
        if (present && !info.Shows(field))
            throw RecipeError(std::string(kFieldOptions[std::size_t(field)]) +
                              " is not a parameter of the " + info.cliName +
                              " style (see --list-styles)");
    if (HasSideOptions(g) && !info.takesSides)
        throw RecipeError(std::string("--frame-top, --frame-bottom, --frame-left and "
                                      "--frame-right are not parameters of the ") +
                          info.cliName + " style (see --list-styles)");
    // The border width field edits the mask style's brightness, 0..255.
    if (g.borderWidth && !info.thirdFieldIsLength) {
        const int hi = info.borderWidthLimit;
        const Length& v = *g.borderWidth;
        if (v.unit != LengthUnit::Pixels || v.value > hi)
            throw RecipeError("--border-width must lie between 0 and " + std::to_string(hi) +
                              " for this style, not " + FormatLength(v));
    }
}

FrameGroup GroupAsChecked(const Recipe& r, std::size_t i) {
    FrameGroup g = r.groups[i];
    // A store frame's mat is a matte that the first group's settings dress.
    if (r.storeFrame && i == 0 && !g.style) g.style = StyleId::Matte;
    return g;
}

void CheckRecipe(const Recipe& r) {
    if (const auto& s = r.storeFrame) {
        const double ow = InInches(s->outer.width, s->outer.unit);
        const double oh = InInches(s->outer.height, s->outer.unit);
        const double iw = InInches(s->opening.width, s->opening.unit);
        const double ih = InInches(s->opening.height, s->opening.unit);
        if (!(iw > 0 && ih > 0 && iw < ow && ih < oh))
            throw RecipeError("the opening must be smaller than the store frame both ways");
        if (!(s->cropPosition >= 0 && s->cropPosition <= 1))
            throw RecipeError("the crop position must lie between 0 and 1");
        if (r.printSize)
            throw RecipeError("a store frame sets the print size; give --dpi or nothing");
        if (r.groups.size() > 1) throw RecipeError("a store frame is one frame: no --then");
        const FrameGroup& g = r.groups[0];
        if (g.style && *g.style != StyleId::Matte)
            throw RecipeError("a store frame's mat is a matte; give its colours without --style "
                              "or with --style matte");
        if (g.frameHeight || g.frameWidth || g.frameTop || g.frameBottom || g.frameLeft ||
            g.frameRight)
            throw RecipeError("a store frame sizes its mat itself: no frame widths or sides");
    }
    for (std::size_t i = 0; i < r.groups.size(); ++i)
        CheckGroup(GroupAsChecked(r, i), r.groups.size() > 1, i + 1 == r.groups.size());
    if (r.printSize && r.dpi) throw RecipeError("give --print-size or --dpi, not both");
    for (const FrameGroup& g : r.groups)
        for (const LengthSetting& s : LengthSettings()) {
            const std::optional<Length>& length = g.*s.member;
            if (length && length->IsPhysical() && !r.printSize && !r.dpi)
                throw RecipeError(std::string("--") + s.name + " " + FormatLength(*length) +
                                  " is a physical length: give --print-size or --dpi");
        }
}

namespace {

// The store frame's crop, resize and mat on the document's photo.
void ApplyStoreFrame(PhotoDocument& doc, const Recipe& r) {
    // The sizes in inches.
    struct {
        double outerWidth, outerHeight, openingWidth, openingHeight;
    } s = {InInches(r.storeFrame->outer.width, r.storeFrame->outer.unit),
           InInches(r.storeFrame->outer.height, r.storeFrame->outer.unit),
           InInches(r.storeFrame->opening.width, r.storeFrame->opening.unit),
           InInches(r.storeFrame->opening.height, r.storeFrame->opening.unit)};
    const FrameGroup& g = r.groups[0];
    for (const ImageCommand& c : g.commands) RunCommand(doc, c);
    int w = doc.Photo().Width(), h = doc.Photo().Height();
    if (w <= 0 || h <= 0) throw PictureError("There is no picture to frame");
    // The frame turns to the photo's orientation.
    if ((w > h) != (s.openingWidth > s.openingHeight)) {
        std::swap(s.outerWidth, s.outerHeight);
        std::swap(s.openingWidth, s.openingHeight);
    }
    // The photo cropped, centred, to the opening's proportions.
    const double aspect = s.openingWidth / s.openingHeight;
    if (double(w) / h > aspect) {
        const int cw = std::max(1, int(std::round(h * aspect)));
        const int x = int((w - cw) * r.storeFrame->cropPosition);
        doc.Crop(x, 0, x + cw, h);
    } else {
        const int ch = std::max(1, int(std::round(w / aspect)));
        const int y = int((h - ch) * r.storeFrame->cropPosition);
        doc.Crop(0, y, w, y + ch);
    }
    doc.Reopen(kZoom);
    double ppi = doc.Photo().Width() / s.openingWidth;
    if (r.dpi) {
        ppi = *r.dpi;
        const int ow = std::max(1, int(std::round(s.openingWidth * ppi)));
        const int oh = std::max(1, int(std::round(s.openingHeight * ppi)));
        doc.Resize(ow, oh);
        doc.Reopen(kZoom);
    }
    w = doc.Photo().Width();
    h = doc.Photo().Height();
    const int outerW = int(std::round(s.outerWidth * ppi));
    const int outerH = int(std::round(s.outerHeight * ppi));
    FrameStyle::Sides sides;
    sides.left = (outerW - w) / 2;
    sides.right = outerW - w - *sides.left;
    sides.top = (outerH - h) / 2;
    sides.bottom = outerH - h - *sides.top;

    doc.SelectStyle(StyleId::Matte);
    if (doc.Style() != StyleId::Matte) throw PictureError("There is no picture to frame");
    const FrameStyle& frame = *doc.CurrentFrame();
    for (const std::optional<int>& side : {sides.left, sides.right, sides.top, sides.bottom})
        if (*side < 0 || *side > frame.ThicknessLimit())
            throw SettingError("the store frame's mat would be " + std::to_string(*side) +
                               " pixels wide; this photo takes at most " +
                               std::to_string(frame.ThicknessLimit()));
    doc.SetPattern("");
    doc.SetFrameColor(g.frameColor.value_or(kStoreMatColour));
    if (g.borderColor) doc.SetBorderColor(*g.borderColor);
    if (g.pattern) doc.ChooseDecoration(*g.pattern);
    doc.SetSides(sides);
    const LengthScale scale{std::min(w, h), ppi};
    doc.SetBorderWidth(
        g.borderWidth ? *Pixels(g.borderWidth, "--border-width", scale, frame.BorderWidthLimit())
                      : 0);
    doc.DrawPictureCentred();
    doc.DrawFrame();
}

} // namespace

void ApplyRecipe(PhotoDocument& doc, const Recipe& r) {
    // The recipe starts from the plain photo at full size: no style made
    // earlier, at another zoom, is reused.
    doc.FreeFrames();
    doc.SetZoom(kZoom);
    doc.SetSeed(r.seed);
    if (r.storeFrame) return ApplyStoreFrame(doc, r);
    LengthScale scale;
    for (std::size_t i = 0; i < r.groups.size(); ++i) {
        const FrameGroup& g = r.groups[i];
        // "Apply Frame": the framed picture becomes the new photo.
        if (i > 0) doc.ApplyFrame(kZoom);
        RunGroupCommands(doc, g);
        // Percentages and print lengths refer to the photo as the first
        // group's commands leave it.
        if (i == 0) scale = ScaleFor(doc.Photo(), r.printSize, r.dpi);
        FrameGroupStyle(doc, g, scale);
    }
}

bool LeavesPhotoAsIs(const Recipe& r) {
    return !r.storeFrame && std::all_of(r.groups.begin(), r.groups.end(), [](const FrameGroup& g) {
        return !g.style && g.commands.empty();
    });
}

std::unique_ptr<PhotoDocument> FrameByRecipe(const std::string& input, const Recipe& r,
                                             const LoadOptions& options) {
    auto doc = std::make_unique<PhotoDocument>();
    doc->SetSeed(r.seed);
    doc->Open(input, kZoom, options);
    if (doc->Photo().Empty()) throw PictureError("File " + input + " appears corrupted!");
    ApplyRecipe(*doc, r);
    return doc;
}

} // namespace quillon
