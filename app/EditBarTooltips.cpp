#include "app/EditBarTooltips.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include <tuple>

namespace quillon {

namespace {

// The bar's child of that name; every name below is one the bar gives.
template <typename W> W* Child(QWidget& bar, const char* name) {
    return bar.findChild<W*>(QLatin1String(name));
}

} // namespace

void ShowFieldTooltips(QWidget& bar, const StyleInfo& info) {
    const auto caption = [&info](EditField field) {
        return QString::fromLatin1(info.Caption(field));
    };
    const std::tuple<QLabel*, QWidget*, EditField> numbers[] = {
        {Child<QLabel>(bar, "frameHeightLabel"), Child<QWidget>(bar, "frameHeightUpDown"),
         EditField::FrameHeight},
        {Child<QLabel>(bar, "frameWidthLabel"), Child<QWidget>(bar, "frameWidthUpDown"),
         EditField::FrameWidth},
        {Child<QLabel>(bar, "borderWidthLabel"), Child<QWidget>(bar, "borderWidthUpDown"),
         EditField::BorderWidth}};
    for (const auto& [label, upDown, field] : numbers) {
        const QString name = caption(field);
        label->setToolTip(name + ": type a number; it applies after a pause, on Tab or on Enter");
        const auto buttons = upDown->findChildren<QToolButton*>();
        for (QToolButton* b : buttons) {
            const bool up = b->arrowType() == Qt::UpArrow;
            b->setToolTip(name + (up ? ": one more" : ": one less") + " (hold to repeat)");
            b->setAccessibleName(name + (up ? " up" : " down"));
        }
    }
    const std::tuple<QLabel*, QWidget*, EditField> colors[] = {
        {Child<QLabel>(bar, "frameColorLabel"), Child<QWidget>(bar, "frameColorSwatch"),
         EditField::FrameColor},
        {Child<QLabel>(bar, "borderColorLabel"), Child<QWidget>(bar, "borderColorSwatch"),
         EditField::BorderColor}};
    for (const auto& [label, swatch, field] : colors) {
        const QString tip =
            caption(field) + ": click to choose one of the photo's colours or any colour";
        label->setToolTip(tip);
        swatch->setToolTip(tip);
        swatch->setAccessibleName(caption(field));
    }
    const QString decoration = caption(EditField::Decoration) + ": click to choose from the list";
    Child<QLabel>(bar, "decorationLabel")->setToolTip(decoration);
    Child<QWidget>(bar, "decorationPanel")->setToolTip(decoration);
    Child<QWidget>(bar, "decorationSwatch")->setToolTip(decoration);
    Child<QWidget>(bar, "decorationPanel")->setAccessibleName(caption(EditField::Decoration));
    const QString check = caption(EditField::CheckBox);
    Child<QWidget>(bar, "scaledCheck")->setToolTip(check + ": on or off");
    Child<QWidget>(bar, "scaledCheck")->setAccessibleName(check);
}

} // namespace quillon
