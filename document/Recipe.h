// A recipe: a whole framing as data. The image commands and frame groups in
// order (each group frames the result of the one before, as "Apply Frame"
// does), every setting with its unit, and what gives print lengths their
// resolution. quillon-frame builds one from its options or reads one from
// a file; the desktop program applies one to its document. Applying the
// same recipe to the same photo gives the same picture everywhere.
#pragma once

#include "canvas/Types.h"
#include "document/PhotoDocument.h"
#include "frames/Length.h"
#include "frames/StyleCatalog.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

// An image command applied to the photo before its group's frame.
struct ImageCommand {
    enum Kind { RotateRight, RotateLeft, Rotate180, Gray, Negative, Resize, Crop };
    Kind kind = Gray;
    int a = 0, b = 0, c = 0, d = 0; // Resize: a x b; Crop: a, b, c, d = L, T, R, B
    friend bool operator==(const ImageCommand&, const ImageCommand&) = default;
};

// One frame group: commands, then a style and the settings given for it
// (the others keep the style's defaults).
struct FrameGroup {
    std::vector<ImageCommand> commands;
    std::optional<StyleId> style; // none: no frame, the picture is passed on as it is
    std::optional<Color> frameColor;
    std::optional<Color> borderColor;
    std::optional<std::string> pattern;
    std::optional<Length> frameHeight;
    std::optional<Length> frameWidth;
    std::optional<Length> borderWidth; // the mask's brightness: a plain number
    std::optional<Length> frameTop, frameBottom, frameLeft, frameRight;
    std::optional<bool> scaled;
    friend bool operator==(const FrameGroup&, const FrameGroup&) = default;
};

// The box a photo is printed to fit in.
struct PrintSize {
    double width = 0, height = 0;
    LengthUnit unit = LengthUnit::Inches;
    friend bool operator==(const PrintSize&, const PrintSize&) = default;
};

// A bought frame: its outer size and its mat's opening, each with its unit. The
// photo is cropped to the opening's proportions (centred) and a mat fills
// the rest, so that the result prints at exactly the outer size. Both turn
// to the photo's orientation.
struct StoreFrame {
    PrintSize outer, opening;
    // Where the crop box sits along the side the crop shortens: 0 at the
    // left (or top), 1 at the right (or bottom), 0.5 centred.
    double cropPosition = 0.5;
    friend bool operator==(const StoreFrame&, const StoreFrame&) = default;
};

struct Recipe {
    std::vector<FrameGroup> groups{1};
    // A store frame takes the place of the first group's frame: its mat is
    // a matte whose colour and border the group may give. Without dpi the
    // cropped photo keeps its pixels and sets the resolution; with it the
    // photo is resized to fill the opening at dpi.
    std::optional<StoreFrame> storeFrame;
    // What gives physical lengths their resolution: the box the photo is
    // printed to fit in, or pixels per inch; at most one of the two.
    std::optional<PrintSize> printSize;
    std::optional<double> dpi;
    // The torn edges' random seed; none: a new edge every second.
    std::optional<std::uint32_t> seed;
    friend bool operator==(const Recipe&, const Recipe&) = default;
};

// A recipe that does not make sense; the message says what is wrong.
class RecipeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// A setting the photo at hand cannot take (a length over half its side).
class SettingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The name of a setting as quillon-frame's option and the recipe file's key
// spell it ("--frame-height" / "frame-height").
struct LengthSetting {
    std::optional<Length> FrameGroup::*member;
    const char* name;
};
// The length settings of a group, in order.
const std::vector<LengthSetting>& LengthSettings();
// The length an edit-bar field sets (frame height, frame width, border
// width); null for the other fields.
std::optional<Length> FrameGroup::*LengthMember(EditField field);
// Whether a length of the group is in inches, centimetres or millimetres.
bool HasPrintLengths(const FrameGroup& group);

// Checks one group: options only with a style and only those the style
// shows, at most 50 %, the mask's brightness 0..255, a group after the
// first with something to do. Throws RecipeError.
void CheckGroup(const FrameGroup& group, bool stacked, bool last);
// Group i as the checks see it (a store frame's first group is its matte).
FrameGroup GroupAsChecked(const Recipe& recipe, std::size_t i);
// Checks every group and that print lengths have a resolution.
void CheckRecipe(const Recipe& recipe);

// What turns the lengths of a recipe into pixels for one photo: its
// shorter side (for percentages) and, when the recipe gives one, its
// resolution (for print lengths).
struct LengthScale {
    int shorterSide = 0;
    std::optional<double> pixelsPerInch;
};
LengthScale ScaleFor(const Bitmap& photo, const std::optional<PrintSize>& printSize,
                     const std::optional<double>& dpi);

// The two halves of one group as ApplyRecipe runs it on the document's
// photo: its image commands, then its style with the settings given (the
// document framing at 100 %). A group without a style frames nothing.
// Throw PictureError and SettingError.
void RunGroupCommands(PhotoDocument& document, const FrameGroup& group);
void FrameGroupStyle(PhotoDocument& document, const FrameGroup& group, const LengthScale& scale);

// Whether the recipe leaves the photo as it is: no image command, no style
// and no store frame in it.
bool LeavesPhotoAsIs(const Recipe& recipe);

// Runs the recipe's groups on the document's photo (shown at 100 %).
// Throws PictureError and SettingError.
void ApplyRecipe(PhotoDocument& document, const Recipe& recipe);
// Opens input and applies the recipe; a file that decodes to no picture
// throws PictureError.
std::unique_ptr<PhotoDocument> FrameByRecipe(const std::string& input, const Recipe& recipe,
                                             const LoadOptions& options = {});

} // namespace quillon
