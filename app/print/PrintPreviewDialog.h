// TfrmPrint: the modal print preview. A small white panel shows the printer
// page to scale with the picture placed on it; the user sets the printed size
// in percent of the picture's pixels (100 % = one printer dot a pixel), the
// orientation, the alignment, a fixed photo size, and whether copies fill the
// whole sheet. The arithmetic is in PrintLayout; this class shows it and
// drives the printer. The page is the printer's printable area in device
// pixels. A percent edit that is not a number is reported and the preview
// stays as it was; printer errors are thrown as PictureError.
#pragma once

#include "canvas/Bitmap.h"
#include "document/PrintLayout.h"

#include <QDialog>
#include <QImage>

#include <functional>
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

class TfrmPrint final : public QDialog {
    Q_OBJECT
public:
    TfrmPrint(QPrinter& printer, QWidget* parent = nullptr);

    // Rebuilds the preview for picture (sourceWidth x sourceHeight pixels)
    // and resets the choices; run at every showing.
    void FormActivate(const Bitmap& picture, int sourceWidth, int sourceHeight);

    void edImageWidthExit();
    void edImageHeightExit();
    void rgOrientationClick();
    void rgAlignClick();
    void rgTopBotClick();
    void rgCustomClick();
    void cbSheetifyClick();
    // Prints and closes; throws PictureError when there is no printer or
    // the job cannot start.
    void btnPrintClick();

    // Shows the error of a handler run by a control (the main window's
    // exception box); a message box when unset.
    std::function<void(const std::string&)> ShowError;

    QFrame* pnlPrintPage;
    QLabel *PreviewImage, *FullSheet;
    QLineEdit *edImageWidth, *edImageHeight;
    QLabel *lblWidth, *lblHeight, *lblPrint;
    QCheckBox *cbAspect, *cbSheetify;
    QButtonGroup *rgOrientation, *rgAlign, *rgTopBot, *rgCustom;
    QPushButton* btnPrint;

    // The print state, for the tests and the preview.
    int PageWidth() const { return pw_; }
    int PageHeight() const { return ph_; }
    PanelLayout Panel;
    float CellWidth = 0, CellHeight = 0, CellPreviewWidth = 0, CellPreviewHeight = 0;
    int SourceWidth = 0, SourceHeight = 0;

private:
    void ReadPage();
    void SizePanel();
    void ShowPreview(int w, int h);
    void Guarded(const std::function<void()>& handler);

    QPrinter& printer_;
    QImage picture_;
    int pw_ = 0, ph_ = 0;
};

} // namespace quillon
