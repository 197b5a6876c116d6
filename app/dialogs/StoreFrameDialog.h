// StoreFrameDialog: frames the photo for a bought frame. The person picks
// the frame's outer size from the common ones, the mat's opening (filled in
// with the usual opening for that size, and editable), and optionally a
// DPI at which the photo is resized to fill the opening; a preview shows
// the frame, the mat and the photo cropped to the opening, to scale, and a
// slider moves the crop box along the side the crop shortens. The
// result is a recipe with a store frame for the controller to apply. A size
// that does not read is reported by the caller when the dialog is accepted.
#pragma once

#include "document/Recipe.h"

#include <QDialog>
#include <QImage>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;

namespace quillon {

struct StoreFrameSize {
    PrintSize outer;
    PrintSize opening; // the usual mat opening for it
};
// The common frame sizes, smallest first in each unit.
const std::vector<StoreFrameSize>& CommonStoreFrames();
// "9x13 cm", "5x7in", "3.5 x 5 in": a size with its unit; none otherwise.
std::optional<PrintSize> ParseSizeText(const std::string& text);

class StoreFrameDialog final : public QDialog {
    Q_OBJECT
public:
    explicit StoreFrameDialog(QWidget* parent = nullptr);

    // Shows the photo (any size; scaled for the preview) and resets nothing
    // else: the last choices stay for the next photo.
    void prepare(const QImage& photo);
    // The recipe of the choices; throws RecipeError for an opening that
    // does not read or does not fit the frame.
    Recipe recipe() const;

    QComboBox* sizeCombo;
    QLineEdit* openingEdit;
    QSpinBox* dpiSpin;
    // Moves the crop box along the side the crop shortens, 0 to 100.
    QSlider* cropSlider;
    QLabel* previewLabel;

    // Redraws the preview for the current choices (nothing when they do
    // not make a frame).
    void showPreview();

private:
    void sizeChosen(int index);

    QImage photo_;
};

} // namespace quillon
