// FramingRecord: what a person has done to a photo since it was opened, kept
// as the recipe that does it again. The desktop program records each image
// command, style choice, setting and "Apply Frame" here as it runs them, with
// the units the person chose for the lengths, and writes the record as a
// recipe file on request. A record copied with each undo step goes back with
// it. EditUnits holds the edit bar's length units and what gives physical
// lengths their resolution; the conversions are the command line's
// (frames/Length.h), so a length typed in the bar gives the pixels the same
// length gives in a recipe.
#pragma once

#include "document/PhotoDocument.h"
#include "document/Recipe.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// The edit bar's three length fields (frame height, frame width, border
// width) in EditField order.
inline constexpr int kLengthFieldCount = 3;

struct EditUnits {
    std::array<LengthUnit, kLengthFieldCount> units{LengthUnit::Pixels, LengthUnit::Pixels,
                                                    LengthUnit::Pixels};
    // What physical lengths refer to: the print size, or dpi when given.
    PrintSize printSize{6, 4, LengthUnit::Inches};
    std::optional<double> dpi;

    LengthUnit Unit(EditField field) const { return units[std::size_t(field)]; }
    bool AnyPhysical() const;
};

// The pixels per inch that physical lengths take for a w x h photo.
double PixelsPerInch(const EditUnits& units, int w, int h);
// A number of pixels as a length in unit, for a photo whose shorter side is
// shorterSide printed at pixelsPerInch (the inverse of LengthInPixels).
double PixelsInUnit(int pixels, LengthUnit unit, int shorterSide, double pixelsPerInch);
// A length value as an edit box shows it: at most two decimals, no trailing
// zeros ("0.5", "12", "1.25").
std::string LengthValueText(double value);
// The photo's size after commands, as ApplyRecipe would leave it.
void SizeAfterCommands(const std::vector<ImageCommand>& commands, int& w, int& h);

// Finds each decoration a recipe names: as given, else relative to the data
// folder (letter case ignored), as quillon-frame finds them. Throws
// RecipeError naming a file that is not there.
void ResolveRecipePatterns(Recipe& recipe);

class FramingRecord {
public:
    // A new photo of w x h pixels: nothing done to it yet.
    void Start(int w, int h);
    // An image command ran on the photo, leaving it w x h.
    void AddCommand(const ImageCommand& command, int w, int h);
    // A style was chosen; a style made for the first time in this group
    // starts from its defaults, worked out at zoom.
    void ChooseStyle(StyleId style, Zoom zoom);
    // Settings of the current style.
    void SetLength(EditField field, const Length& length);
    void SetFrameColor(Color color); // also drops the fill pattern, as the swatch does
    void SetBorderColor(Color color);
    void SetPattern(const std::string& fileName);
    void SetScaled(bool scaled);
    // "Apply Frame" on doc (still showing the current style): the group is
    // done and the framed picture is the photo of the next.
    void ApplyFrame(const PhotoDocument& doc);
    // The current style's group, without commands, handed to a stack of
    // live frames: no style is current afterwards, and the commands done
    // so far stay with the photo under the stack.
    FrameGroup FinishGroup(const PhotoDocument& doc);
    // A record of one group of a frame stack being edited: the group's
    // commands and style with its settings, lengths referring to a w x h
    // photo.
    void EditGroup(const FrameGroup& group, int w, int h);
    // The current style's group with the commands before it, as the edit
    // bar has set it (doc: see ToRecipe).
    FrameGroup Group(const PhotoDocument* doc) const;
    // A recipe was applied to the photo as it is now (w x h): the record
    // becomes the recipe, its last group's style the current one. Commands
    // done before any frame was applied stay in front of it.
    void Adopt(const Recipe& recipe, int w, int h);

    // The record as a recipe. doc is the document showing the current style
    // (its lengths fill in defaults worked out at another zoom than 100 %);
    // units give a print size or dpi when a length is physical. stacked
    // are live frame groups over the photo: they follow the groups applied
    // here, the commands done since then going in front of the first.
    Recipe ToRecipe(const PhotoDocument* doc, const EditUnits& units,
                    const std::vector<FrameGroup>& stacked = {}) const;

    // The photo size percentages and print lengths refer to: the photo as
    // the first group's commands leave it.
    int BaseWidth() const { return baseWidth_; }
    int BaseHeight() const { return baseHeight_; }
    std::optional<StyleId> CurrentStyle() const { return current_; }
    // The length the person gave a field of the current style, if any.
    std::optional<Length> GivenLength(EditField field) const;

private:
    FrameGroup* currentGroup();

    std::vector<FrameGroup> done_;
    std::vector<ImageCommand> commands_;
    std::array<std::optional<FrameGroup>, kStyleCount> styles_;
    std::array<Zoom, kStyleCount> madeAt_{};
    std::optional<StyleId> current_;
    std::optional<StoreFrame> storeFrame_;
    std::optional<double> storeDpi_;
    std::optional<std::uint32_t> seed_;
    int baseWidth_ = 0, baseHeight_ = 0;
};

} // namespace quillon
