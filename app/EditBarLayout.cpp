#include "app/EditBarLayout.h"

#include "document/FramingRecord.h"

#include <cctype>
#include <charconv>
#include <stdexcept>

namespace quillon {

EditBarPlaces EditBarLayout(const EditCaptions& captions,
                            const std::function<int(EditField field)>& labelWidth,
                            bool thirdFieldIsLength) {
    EditBarPlaces places{};
    int x = 5;
    for (int i = 0; i < kEditFieldCount; ++i) {
        const auto field = EditField(i);
        EditFieldPlace& place = places[std::size_t(i)];
        if (captions[std::size_t(i)][0] == '\0') continue;
        place.visible = true;
        if (field == EditField::CheckBox) {
            place.controlLeft = x;
            x += kCheckBoxWidth + 12;
            continue;
        }
        place.labelLeft = x;
        x += labelWidth(field) + 3;
        place.controlLeft = x;
        switch (field) {
        case EditField::FrameHeight:
        case EditField::FrameWidth:
        case EditField::BorderWidth:
            x += kEditBoxWidth;
            place.upDownLeft = x;
            x += kUpDownWidth;
            if (field != EditField::BorderWidth || thirdFieldIsLength) {
                place.unitLeft = x + 1;
                x += 1 + kUnitButtonWidth;
            }
            x += 12;
            break;
        case EditField::FrameColor:
        case EditField::BorderColor:
            x += kSwatchWidth + 12;
            break;
        default: // the decoration field advances by its image, not its panel
            x += kDecorationImageWidth + 12;
            break;
        }
    }
    return places;
}

int EditBoxValue(const std::string& text) {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    // from_chars takes no '+', which the conversion accepts.
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc() || end != last)
        throw std::runtime_error("'" + text + "' is not a valid integer value");
    return value;
}

const std::vector<NamedPrintSize>& CommonPrintSizes() {
    static const std::vector<NamedPrintSize> sizes = [] {
        std::vector<NamedPrintSize> list;
        for (const PrintSize& s :
             {PrintSize{6, 4, LengthUnit::Inches}, PrintSize{7, 5, LengthUnit::Inches},
              PrintSize{10, 8, LengthUnit::Inches}, PrintSize{15, 10, LengthUnit::Centimetres},
              PrintSize{18, 13, LengthUnit::Centimetres}})
            list.push_back({PrintSizeText(s), s});
        return list;
    }();
    return sizes;
}

std::string PrintSizeText(const PrintSize& size) {
    return LengthValueText(size.width) + "x" + LengthValueText(size.height) + " " +
           UnitSuffix(size.unit);
}

const char* UnitButtonText(LengthUnit unit) {
    return unit == LengthUnit::Pixels ? "px" : UnitSuffix(unit);
}

double UnitStep(LengthUnit unit) {
    switch (unit) {
    case LengthUnit::Percent:
        return 0.5;
    case LengthUnit::Millimetres:
        return 1;
    case LengthUnit::Centimetres:
        return 0.1;
    case LengthUnit::Inches:
        return 0.05;
    default:
        return 1;
    }
}

std::optional<Length> EditBoxLength(const std::string& text, LengthUnit unit) {
    const bool negative = !text.empty() && text[0] == '-';
    std::string body = negative ? text.substr(1) : text;
    const bool hasUnit = !body.empty() && !std::isdigit(static_cast<unsigned char>(body.back())) &&
                         body.back() != '.';
    // A plain number is in the field's unit.
    const std::optional<Length> length = ParseLength(hasUnit ? body : body + UnitSuffix(unit));
    if (!length) throw std::runtime_error("'" + text + "' is not a valid length");
    if (negative) return std::nullopt;
    return length;
}

Length EditBoxEntry(const std::string& text, LengthUnit unit, bool takesUnits) {
    if (!takesUnits || unit == LengthUnit::Pixels)
        return {double(EditBoxValue(text)), LengthUnit::Pixels};
    const bool negative = !text.empty() && text[0] == '-';
    const std::optional<Length> length = EditBoxLength(negative ? text.substr(1) : text, unit);
    if (!length) throw std::runtime_error("'" + text + "' is not a valid length"); // "--5"
    return negative ? Length{-length->value, length->unit} : *length;
}

} // namespace quillon
