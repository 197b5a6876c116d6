// The frame edit bar's arithmetic, without a widget: where each field's
// label and controls go for a style's captions, and how an edit box's text
// reads as a number.
#pragma once

#include "document/Recipe.h"
#include "frames/StyleCatalog.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace quillon {

constexpr int kEditBoxWidth = 26;
constexpr int kUpDownWidth = 14;
constexpr int kSwatchWidth = 18;
constexpr int kSwatchHeight = 20;
constexpr int kDecorationPanelWidth = 20;
constexpr int kDecorationPanelHeight = 22;
constexpr int kDecorationImageWidth = 18;
constexpr int kCheckBoxWidth = 101;
// The unit button after a length field's up-down.
constexpr int kUnitButtonWidth = 22;

// Where one field goes: its label's left, its first control's left and (for
// number fields) the up-down's left and, for lengths, the unit button's.
struct EditFieldPlace {
    bool visible = false;
    int labelLeft = 0;
    int controlLeft = 0;
    int upDownLeft = 0;
    int unitLeft = 0;
};
using EditBarPlaces = std::array<EditFieldPlace, kEditFieldCount>;

// No field shown.
constexpr EditCaptions kNoEditCaptions{"", "", "", "", "", "", ""};

// Lays the fields out from x = 5 in EditField order; labelWidth gives the
// width of a field's label once its new caption is set. The check box has
// no label: its caption is its own text. Each length field has a unit
// button after its up-down (the third field only where it is a length).
EditBarPlaces EditBarLayout(const EditCaptions& captions,
                            const std::function<int(EditField field)>& labelWidth,
                            bool thirdFieldIsLength = true);

// The print sizes the bar offers for physical lengths, with their texts.
struct NamedPrintSize {
    std::string text;
    PrintSize size;
};
const std::vector<NamedPrintSize>& CommonPrintSizes();
// "6x4 in", "15x10 cm", "4.5x3 in".
std::string PrintSizeText(const PrintSize& size);
// The unit button's text: "px", "%", "mm", "cm", "in".
const char* UnitButtonText(LengthUnit unit);
// What one click of an up-down arrow adds in unit.
double UnitStep(LengthUnit unit);
// A length box's text in unit: a plain number is taken in unit, a number
// with its own unit ("5mm") in that one; none for a negative number. Text
// that is no length throws with the message shown.
std::optional<Length> EditBoxLength(const std::string& text, LengthUnit unit);

// A length box's text as typed, negative numbers included: a field that
// takes units reads as EditBoxLength (in unit unless the text names one),
// any other as EditBoxValue in pixels. Text that is no number throws.
Length EditBoxEntry(const std::string& text, LengthUnit unit, bool takesUnits);

// Parses an edit box's text as a decimal integer; anything else (blank,
// trailing text, out of the int range) throws with the message shown.
int EditBoxValue(const std::string& text);

} // namespace quillon
