// The frame edit bar's arithmetic, without a widget: where each field's
// label and controls go for a style's captions, and how an edit box's text
// reads as a number.
#pragma once

#include "frames/StyleCatalog.h"

#include <array>
#include <functional>
#include <string>

namespace quillon {

constexpr int kEditBoxWidth = 26;
constexpr int kUpDownWidth = 14;
constexpr int kSwatchWidth = 18;
constexpr int kSwatchHeight = 20;
constexpr int kDecorationPanelWidth = 20;
constexpr int kDecorationPanelHeight = 22;
constexpr int kDecorationImageWidth = 18;
constexpr int kCheckBoxWidth = 101;

// Where one field goes: its label's left, its first control's left and (for
// number fields) the up-down's left.
struct EditFieldPlace {
    bool visible = false;
    int labelLeft = 0;
    int controlLeft = 0;
    int upDownLeft = 0;
};
using EditBarPlaces = std::array<EditFieldPlace, kEditFieldCount>;

// No field shown.
constexpr EditCaptions kNoEditCaptions{"", "", "", "", "", "", ""};

// Lays the fields out from x = 5 in EditField order; labelWidth gives the
// width of a field's label once its new caption is set. The check box has
// no label: its caption is its own text.
EditBarPlaces EditBarLayout(const EditCaptions& captions,
                            const std::function<int(EditField field)>& labelWidth);

// Parses an edit box's text as a decimal integer; anything else (blank,
// trailing text, out of the int range) throws with the message shown.
int EditBoxValue(const std::string& text);

} // namespace quillon
