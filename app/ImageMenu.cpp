// The Image menu's commands on the main window (gray scale, negative and the
// three rotations), the Edit menu's Resize and the File menu's Print and scanning. Each changes the
// document's working bitmap, redraws its image at the current scale and leaves the changed picture
// on the clipboard; the rotations clear the selection first and refit the window.
#include "app/Dialogs.h"
#include "app/Mainfrm.h"
#include "app/Wind.h"

#include "app/dialogs/Resize.h"
#include "app/print/Prntprv.h"
#include "app/scan/Scanning.h"
#include "document/Butbar.h"
#include "document/ImageCommands.h"
#include "frames/Image.h"

#include <QApplication>

namespace quillon {

namespace {

const char* const kErrorCaption = "Quillon";

// The hourglass cursor for the life of a scope.
class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

// The undo entry of an image command: the shown picture and the working
// bitmap as they are before the change.
void RecordImageUndo(TfrmMain& main, const char* caption) {
    TButtonBar& d = *main.Document;
    if (d.Image)
        main.AddUndo(d.Image->PictureBitmap(), *d.Photo, caption);
    else
        main.AddUndo(*d.Photo, *d.Photo, caption);
}

} // namespace

void TfrmMain::ImageCommandDone(bool rotated) {
    if (frmWindow) frmWindow->ImageChanged();
    if (rotated) AdjustWindow();
}

void TfrmMain::GreyScale1Click() {
    if (!Document || !Document->Photo) return;
    RecordImageUndo(*this, "&Undo Grayscale");
    GrayScalePicture(*Document);
    ImageCommandDone(false);
}

void TfrmMain::NegativeImage1Click() {
    if (!Document || !Document->Photo) return;
    RecordImageUndo(*this, "&Undo Negative");
    NegativePicture(*Document);
    ImageCommandDone(false);
}

void TfrmMain::Rotate90Right1Click() {
    if (!Document || !Document->Photo) return;
    ClearSelection();
    RecordImageUndo(*this, "&Undo Rotate 90 Right");
    Document->RotateRight();
    ImageCommandDone(true);
}

void TfrmMain::Rotate90Left1Click() {
    if (!Document || !Document->Photo) return;
    ClearSelection();
    RecordImageUndo(*this, "&Undo Rotate 90 Left");
    Document->RotateLeft();
    ImageCommandDone(true);
}

void TfrmMain::Rotate1801Click() {
    if (!Document || !Document->Photo) return;
    ClearSelection();
    RecordImageUndo(*this, "&Undo Rotate 180");
    Document->Rotate180();
    ImageCommandDone(true);
}

void TfrmMain::Resize1Click() {
    if (!Document || !Document->Photo) return;
    if (!frmResize) {
        frmResize = new TfrmResize(this);
        frmResize->ShowError = [this](const std::string& message) {
            Dialogs().MessageBox(this, kErrorCaption, message, TMsgIcon::Error, TMsgButtons::Ok);
        };
    }
    frmResize->FormShow(Document->Photo->Width(), Document->Photo->Height());
    if (Dialogs().RunModal(*frmResize) != QDialog::Accepted) return;
    // A size that is not a whole number, or is 0 or below, is refused here,
    // before the undo entry, so the picture and the history stay as they were.
    const auto [w, h] = frmResize->RequestedSize();
    if (!FrameInProgress) RecordImageUndo(*this, "&Undo Resize");
    {
        TBusyCursor busy;
        Document->ResizePicture(w, h);
    }
    PasteFromClipboardClick();
}

void TfrmMain::Print1Click() {
    if (!Document) return;
    if (!frmPrint) {
        frmPrint = new TfrmPrint(CurrentPrinter(), this);
        frmPrint->ShowError = [this](const std::string& message) {
            Dialogs().MessageBox(this, kErrorCaption, message, TMsgIcon::Error, TMsgButtons::Ok);
        };
    }
    // With a frame style chosen the frame's output is printed, and its own
    // size (frame band included) is the size that 100 % prints.
    const Bitmap* picture = Document->Photo.get();
    float scale = 1.0f;
    if (Document->Style != fsNone)
        if (const Bitmap* framed = Document->GetFramedPicture(scale)) picture = framed;
    if (!picture || picture->Empty()) return;
    frmPrint->FormActivate(*picture, picture->Width(), picture->Height());
    Dialogs().RunModal(*frmPrint);
}

void TfrmMain::SelectSourceClick() {
    if (!ScanImage1) ScanImage1 = new TScanImage(this);
    ScanImage1->SelectImageSource();
    Scan->setEnabled(ScanImage1->SourceSelected);
}

void TfrmMain::ScanClick() {
    if (!ScanImage1) ScanImage1 = new TScanImage(this);
    // No receiving control: the scan stays on the clipboard for the paste.
    ScanImage1->ScanedImage = nullptr;
    {
        TBusyCursor busy;
        ScanImage1->AcquireImage();
    }
    CurrentFileName = "Untitled";
    ZoomMode = 0;
    PasteFromClipboardClick();
}

} // namespace quillon
