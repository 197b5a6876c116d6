// PrintPreviewDialog: the modal print preview. A small white panel shows the printer
// page to scale with the picture placed on it; the user sets the printed size
// in percent of the picture's pixels (100 % = one printer dot a pixel), the
// orientation, the alignment, a photo size (inches on the paper, at the
// printer's own resolution) or the printable area, and whether copies fill
// the whole sheet. The arithmetic is in PrintLayout; this class shows it and
// drives the printer. The page is the printer's printable area in device
// pixels. A percent edit that is not a number is reported and the preview
// stays as it was; printer errors are thrown as PictureError.
#pragma once

#include "canvas/Bitmap.h"
#include "document/PrintLayout.h"

#include <QDialog>
#include <QImage>

#include <functional>
#include <optional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace quillon {

// The program's current printer, kept for the run (set up by the printer
// set-up dialog, used by the print preview).
QPrinter& CurrentPrinter();

class PrintPreviewDialog final : public QDialog {
    Q_OBJECT
public:
    explicit PrintPreviewDialog(QPrinter& printer, QWidget* parent = nullptr);

    // Rebuilds the preview for picture (sourceWidth x sourceHeight pixels)
    // and resets the choices; run at every showing.
    void preparePreview(const Bitmap& picture, int sourceWidth, int sourceHeight);

    // The handlers of the controls.
    void widthPercentEdited();
    void heightPercentEdited();
    void orientationChosen();
    void horizontalAlignmentChosen();
    void verticalAlignmentChosen();
    void customSizeChosen();
    void fullSheetToggled();
    // Prints; throws PictureError when there is no printer or the job
    // cannot start.
    void print();

    // The photo size of the last print, while its percent was not retyped;
    // none after a print at any other size or before one.
    std::optional<PhotoBox> printedPhotoBox() const { return printedBox_; }

    // Shows the error of a handler run by a control (the main window's
    // error box); a message box when unset.
    std::function<void(const std::string&)> showError;

    QFrame* pagePanel;
    QLabel *previewLabel, *fullSheetLabel;
    QLineEdit *widthPercentEdit, *heightPercentEdit;
    QLabel *widthPixelsLabel, *heightPixelsLabel, *printingLabel;
    QCheckBox *aspectCheck, *fullSheetCheck;
    QButtonGroup *orientationGroup, *horizontalAlignGroup, *verticalAlignGroup, *customSizeGroup;
    QPushButton* printButton;

    // The print state, for the tests and the preview.
    int pageWidth() const { return pw_; }
    int pageHeight() const { return ph_; }
    PanelLayout panel;
    float cellWidth = 0, cellHeight = 0, cellPreviewWidth = 0, cellPreviewHeight = 0;
    int sourceWidth = 0, sourceHeight = 0;

private:
    void readPage();
    void sizePanel();
    void showPreview(int w, int h);
    void guarded(const std::function<void()>& handler);
    // Printer dots per picture pixel that each percent edit stands for.
    double widthScale() const;
    double heightScale() const;

    QPrinter& printer_;
    QImage picture_;
    int pw_ = 0, ph_ = 0;
    // The last size choice's exact scale and the percent it showed.
    double choiceScale_ = 1;
    QString choiceText_ = "100";
    std::optional<PhotoBox> printedBox_;
};

} // namespace quillon
