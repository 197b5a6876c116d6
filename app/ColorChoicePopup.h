// ColorChoicePopup: the small pop-up under an edit-bar colour swatch. It
// offers the photo's own dominant colours as swatches, the most common
// first (one click chooses one), and "More Colors..." for the standard
// colour dialog. It closes on Escape, on a click outside it, and once a
// choice is made; it changes nothing itself but announces the choice.
#pragma once

#include "canvas/Types.h"

#include <QFrame>

#include <vector>

class QLabel;
class QPushButton;
class QToolButton;

namespace quillon {

class ColorChoicePopup final : public QFrame {
    Q_OBJECT
public:
    explicit ColorChoicePopup(QWidget* parent = nullptr);

    // Shows colors as swatches (current, when among them, marked) with the
    // pop-up's top left at a screen point, kept on the screen.
    void popUp(const std::vector<Color>& colors, Color current, const QPoint& at);

    // The swatches of the last popUp, in its colours' order.
    const std::vector<QToolButton*>& swatches() const { return swatches_; }
    QPushButton* moreButton() const { return more_; }

signals:
    void colorChosen(quillon::Color color);
    void moreColorsRequested();

private:
    QWidget* grid_;
    QLabel* caption_;
    QPushButton* more_;
    std::vector<QToolButton*> swatches_;
};

// "#RRGGBB" for a colour, as the swatches' tooltips name it.
QString ColorName(Color color);

} // namespace quillon
