#include "app/EditBarLayout.h"

#include <charconv>
#include <stdexcept>

namespace quillon {

EditBarPlaces EditBarLayout(const EditCaptions& captions,
                            const std::function<int(EditField field)>& labelWidth) {
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
            x += kUpDownWidth + 12;
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

} // namespace quillon
