// TfrmResize: the modal dialog that gives the picture a new pixel size, as
// percentages or as pixels, the two directions linked while "Maintain Aspect
// Ratio" is checked. The linked arithmetic is in ResizeMath; the dialog keeps
// the guard flags that stop one edit's handler from answering the changes
// another handler makes. A text that is not a number is reported and changes
// nothing. The aspect check box keeps its state between showings.
#pragma once

#include "document/ResizeMath.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class TfrmResize final : public QDialog {
    Q_OBJECT
public:
    explicit TfrmResize(QWidget* parent = nullptr);

    // Fills the labels and edits for a picture of width x height.
    void FormShow(int width, int height);
    // The size the edits ask for; throws PictureError for a text that is not
    // an integer or a size of 0 or below.
    std::pair<int, int> RequestedSize() const;

    // Shows a conversion error of a change handler (the main window's
    // exception box); a message box when unset.
    std::function<void(const std::string&)> ShowError;

    QLabel *lblWidth, *lblHeight;
    QCheckBox* cbAspect;
    QLineEdit *edWidthPerc, *edHeightPerc, *edPixWidth, *edPixHeight;
    QPushButton *btnResize, *btnCancel;

private:
    enum { gWidthPerc, gHeightPerc, gPixWidth, gPixHeight };
    void EditChanged(int which);
    ResizeEdits Edits() const;
    void SetEdits(const ResizeEdits& e);

    bool guard_[4] = {false, false, false, false};
};

} // namespace quillon
