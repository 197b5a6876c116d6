// FrameEditBar: the bar under the menus that edits the chosen frame style.
// It shows the fields the style's catalogue captions name (thicknesses with
// up-down buttons, the two colours, the decoration swatch, a check box),
// runs each edit through the document controller, and follows the
// controller: it shows while a style is chosen and refreshes its values when
// the frame changes. It owns only its widgets and the small picture in the
// decoration swatch.
#pragma once

#include "canvas/Bitmap.h"
#include "frames/StyleCatalog.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace quillon {

class DocumentController;

class FrameEditBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 24;

    explicit FrameEditBar(DocumentController& controller, QWidget* parent = nullptr);

    QLabel *frameHeightLabel, *frameWidthLabel, *borderWidthLabel;
    QLabel *frameColorLabel, *borderColorLabel, *decorationLabel;
    QLineEdit *frameHeightEdit, *frameWidthEdit, *borderWidthEdit;
    QWidget *frameHeightUpDown, *frameWidthUpDown, *borderWidthUpDown;
    QFrame *frameColorSwatch, *borderColorSwatch, *decorationPanel;
    // The decoration swatch inside decorationPanel, showing decorationPicture.
    QLabel* decorationSwatch;
    QCheckBox* scaledCheck;

    const Bitmap& decorationPicture() const { return swatchPicture_; }

    // Enter in an edit box: the shown number boxes are read left to right
    // and set until one holds a negative number; then the frame repaints.
    // A box that holds no number stops the reading with its message, after
    // the boxes before it have been set.
    void applyFields();
    // The up-down buttons: step is +1 or -1.
    void stepFrameHeight(int step);
    void stepFrameWidth(int step);
    void stepBorderWidth(int step);
    void chooseFrameColor();
    void chooseBorderColor();
    void toggleScaled();

signals:
    // The decoration swatch was clicked: the picker opens, or closes.
    void decorationPickerToggled();
    // The pointer moved over the bar: the picker closes.
    void pointerMoved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QWidget* makeUpDown(const char* name, void (FrameEditBar::*step)(int));
    void showStyle();
    void showCaptions(const EditCaptions& captions);
    // The numbers, colours and check box of the current frame.
    void showValues();
    // The swatch after an edit: the frame's named pattern drawn over it, or
    // an empty outlined square.
    void drawSwatchAfterEdit();
    // The swatch cleared to white with the frame's decoration, if any.
    void repaintDecorationSwatch();
    // The swatch after a pick in the decoration picker.
    void drawChosenDecoration();
    void showSwatchPicture();
    void setSwatchColor(QFrame* swatch, Color color);
    void runCommand(const std::function<void()>& command);

    DocumentController& controller_;
    Bitmap swatchPicture_;
};

} // namespace quillon
