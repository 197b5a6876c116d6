// ResizeDialog: the modal dialog that gives the picture a new pixel size, as
// percentages or as pixels, the two directions linked while "Maintain Aspect
// Ratio" is checked. The linked arithmetic is in ResizeMath; the dialog keeps
// the guard flags that stop one edit's handler from answering the changes
// another handler makes. A text that is not a number is reported and changes
// nothing. The aspect check box keeps its state between showings.
#pragma once

#include "document/ResizeMath.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <utility>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class ResizeDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ResizeDialog(QWidget* parent = nullptr);

    // Fills the labels and edits for a picture of width x height.
    void prepare(int width, int height);
    // The size the edits ask for; throws PictureError for a text that is not
    // an integer or a size of 0 or below.
    std::pair<int, int> requestedSize() const;

    // Shows a conversion error of a change handler (the main window's
    // error box); a message box when unset.
    std::function<void(const std::string&)> showError;

    QLabel *originalWidthLabel, *originalHeightLabel;
    QCheckBox* aspectCheck;
    QLineEdit *widthPercentEdit, *heightPercentEdit, *pixelWidthEdit, *pixelHeightEdit;
    QPushButton *resizeButton, *cancelButton;

private:
    enum class Edit { WidthPercent, HeightPercent, PixelWidth, PixelHeight };
    static constexpr int kEditCount = 4;
    void editChanged(Edit which);
    ResizeEdits edits() const;
    void setEdits(const ResizeEdits& e);

    std::array<bool, kEditCount> guard_{};
};

} // namespace quillon
