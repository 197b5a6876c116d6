// The style catalogue: every fact about the thirteen frame styles in one
// table. The document creates styles from it, the edit bar takes its
// captions from it, the Frames menu its order and names, and quillon-frame
// its style names, options, defaults and limits. Adding a style means an
// entry here and the style's own file.
#pragma once

#include "frames/FrameStyle.h"

#include <array>
#include <memory>
#include <optional>
#include <string_view>

namespace quillon {

// The styles, numbered as quillon-frame numbers them.
enum class StyleId {
    Corner,
    Matte,
    Jagged,
    Oval,
    Diamond,
    Grayscale,
    Bubble,
    Button,
    Ornate,
    Shadow,
    Mask,
    Overlay,
    Box,
};
inline constexpr int kStyleCount = 13;

// The edit bar's fields, in the bar's order from the left.
enum class EditField {
    FrameHeight,
    FrameWidth,
    BorderWidth,
    FrameColor,
    BorderColor,
    Decoration,
    CheckBox,
};
inline constexpr int kEditFieldCount = 7;

// Per edit-bar field: its caption, empty where the style does not show it.
using EditCaptions = std::array<const char*, kEditFieldCount>;

struct StyleInfo {
    StyleId id;
    // quillon-frame's name for it ("corner").
    const char* cliName;
    // The name a person sees: the Frames menu's picture and tooltip.
    const char* displayName;
    // One line for quillon-frame --list-styles.
    const char* summary;
    // Its place in the Frames menu, from the top.
    int menuPosition;
    EditCaptions captions;
    // Each shown field's default as --list-styles explains it, for a W x H
    // picture; empty where the field is not shown.
    EditCaptions defaultsText;
    // The largest value of the third field (a border width, or the mask's
    // brightness).
    int borderWidthLimit;
    // The settings a style starts with on a photo shown w x h pixels large.
    // Throws PictureError when a picture the defaults need cannot be read.
    FrameSettings (*defaults)(int w, int h);
    // Makes the style on photo; it has painted once when returned.
    std::unique_ptr<FrameStyle> (*create)(const Bitmap& photo, const FrameSettings& settings);

    // Whether the third field is a length (a border width or thickness);
    // the mask's is a brightness.
    bool thirdFieldIsLength = true;
    // Whether each side of the frame can take a length of its own.
    bool takesSides = false;

    bool Shows(EditField field) const { return captions[std::size_t(field)][0] != '\0'; }
    const char* Caption(EditField field) const { return captions[std::size_t(field)]; }
};

// The error for a data file a style needs and the data folder lacks.
PictureError MissingDataError(const std::string& relative);

// The styles in StyleId order.
const std::array<StyleInfo, kStyleCount>& StyleCatalog();
const StyleInfo& StyleInfoOf(StyleId id);
// The style quillon-frame calls name, or numbers so (0..12); none otherwise.
std::optional<StyleId> FindStyle(std::string_view name);
// The styles in Frames-menu order.
std::array<StyleId, kStyleCount> StylesInMenuOrder();

} // namespace quillon
