// FrameEditBar: the bar under the menus that edits the chosen frame style.
// It shows the fields the style's catalogue captions name (thicknesses with
// up-down buttons, the two colours, the decoration swatch, a check box),
// runs each edit through the document controller, and follows the
// controller: it shows while a style is chosen and refreshes its values when
// the frame changes. A number typed is applied after a short pause, on Tab
// and on Enter; a number out of the field's range is brought into it and
// the box says so. A colour swatch offers the photo's own colours beside
// the standard colour dialog. It owns only its widgets and the small
// picture in the decoration swatch.
#pragma once

#include "canvas/Bitmap.h"
#include "document/Recipe.h"
#include "frames/StyleCatalog.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimer;
class QToolButton;

namespace quillon {

class ColorChoicePopup;
class DocumentController;

class FrameEditBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 24;
    // How long typing must pause before the typed numbers are applied.
    static constexpr int kTypingPauseMs = 600;
    // How many of the photo's colours a colour swatch offers.
    static constexpr int kPhotoColorCount = 8;

    explicit FrameEditBar(DocumentController& controller, QWidget* parent = nullptr);

    QLabel *frameHeightLabel, *frameWidthLabel, *borderWidthLabel;
    QLabel *frameColorLabel, *borderColorLabel, *decorationLabel;
    QLineEdit *frameHeightEdit, *frameWidthEdit, *borderWidthEdit;
    QWidget *frameHeightUpDown, *frameWidthUpDown, *borderWidthUpDown;
    QFrame *frameColorSwatch, *borderColorSwatch, *decorationPanel;
    // The decoration swatch inside decorationPanel, showing decorationPicture.
    QLabel* decorationSwatch;
    QCheckBox* scaledCheck;
    // The unit buttons of the three length fields, in EditField order.
    QToolButton *frameHeightUnit, *frameWidthUnit, *borderWidthUnit;
    // What physical lengths refer to: "for" [print size or DPI] [dpi].
    QLabel* printSizeLabel;
    QComboBox* printSizeCombo;
    QSpinBox* dpiSpin;

    // The pop-up of a colour swatch: the photo's colours and "More Colors...".
    ColorChoicePopup* colorChoice;

    const Bitmap& decorationPicture() const { return swatchPicture_; }
    // What the last number brought into its range said (empty when the
    // last apply needed none).
    const QString& rangeNotice() const { return rangeNotice_; }

    // Enter or Tab in an edit box: the shown number boxes are read left to
    // right, each brought into its range (a negative number to 0, one over
    // the limit to the limit, saying so in a tooltip), and set; then the
    // frame repaints. A box that holds no number stops the reading with its
    // message, after the boxes before it have been set.
    void applyFields();
    // The pause after typing: the boxes typed in since the last apply are
    // set as applyFields sets them; one that holds no number yet (an empty
    // box, a lone "-") waits, keeping its text.
    void applyTypedFields();
    // The up-down buttons: step is +1 or -1.
    void stepFrameHeight(int step);
    void stepFrameWidth(int step);
    void stepBorderWidth(int step);
    // The colour swatches: the pop-up with the photo's colours opens under
    // the swatch.
    void openFrameColorChoice();
    void openBorderColorChoice();
    // The standard colour dialog ("More Colors...").
    void chooseFrameColor();
    void chooseBorderColor();
    // A colour chosen for the frame (it replaces the fill pattern) or the
    // border.
    void setFrameColor(Color color);
    void setBorderColor(Color color);
    void toggleScaled();
    // A unit chosen for a length field: the field shows its length in it.
    void chooseUnit(EditField field, LengthUnit unit);
    // An entry of the print-size list: a size, or the DPI entry (the last).
    void choosePrintSize(int index);
    void chooseDpi(int dpi);

signals:
    // The decoration swatch was clicked: the picker opens, or closes.
    void decorationPickerToggled();
    // The pointer moved over the bar: the picker closes.
    void pointerMoved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    enum class ColorTarget { Frame, Border };
    // Reads the boxes (all shown ones, or only those typed in since the
    // last apply) and sets them.
    void applyBoxes(bool typedOnly);
    // Tab moves on to the next shown box (Shift+Tab back) after applying.
    void focusNextBox(QLineEdit* from, bool forward);
    void openColorChoice(ColorTarget target);
    QWidget* makeUpDown(const char* name, void (FrameEditBar::*step)(int));
    QToolButton* makeUnitButton(const char* name, EditField field);
    // One up-down click on a length field in the field's unit.
    void stepLength(EditField field, int step);
    // The unit buttons, the print size and the tooltips of the current units.
    void showUnits();
    void placePrintSize();
    // The edit boxes' tooltips: each field's range in its unit.
    void showRanges();
    // Whether a field is a length the current style takes units for.
    bool hasUnit(EditField field) const;
    // Whether a shown length field is in millimetres or inches.
    bool physicalUnitShown() const;
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
    QTimer* typingTimer_;
    // The boxes typed in since their value was last applied, in EditField
    // order; the bar does not overwrite their text.
    std::array<bool, 3> typed_{};
    ColorTarget colorTarget_ = ColorTarget::Frame;
    QString rangeNotice_;
    // The sizes of the print-size list, in its order (the DPI entry after).
    std::vector<PrintSize> printSizes_;
};

} // namespace quillon
