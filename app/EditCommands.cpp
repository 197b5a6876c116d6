// The main window's history, zoom and crop commands.
#include "app/EditBar.h"
#include "app/Mainfrm.h"
#include "app/Wind.h"
#include "document/Butbar.h"
#include "frames/Clipboard.h"

#include <QAction>
#include <QApplication>

#include <utility>

namespace quillon {

namespace {

class THourglass {
public:
    THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { QApplication::restoreOverrideCursor(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};

const char* ZoomUndoCaption(int mode) {
    switch (mode) {
    case 0:
        return "&Undo Normal Size";
    case 2:
        return "&Undo Zoom 75%";
    case 3:
        return "&Undo Zoom 50%";
    case 4:
        return "&Undo Zoom 25%";
    default:
        return "&Undo Zoom 10%";
    }
}

// Puts Left <= Right and Top <= Bottom; says whether the rectangle is at
// least 3 pixels in both directions.
bool NormaliseSelection(TSelectionRect& s) {
    if (s.Right < s.Left) std::swap(s.Left, s.Right);
    if (s.Bottom < s.Top) std::swap(s.Top, s.Bottom);
    return s.Right - s.Left >= 3 && s.Bottom - s.Top >= 3;
}

} // namespace

void TfrmMain::AddUndo(const Bitmap& display, const Bitmap& picture, const std::string& caption) {
    AdvanceUndo(UndoCount, UndoIndex);
    UNDOTYPE& entry = UndoList[std::size_t(UndoIndex - 1)];
    WriteBitmapStream(display, entry.DisplayStream);
    entry.WindowWidth = frmWindow ? frmWindow->width() : 0;
    entry.WindowHeight = frmWindow ? frmWindow->height() : 0;
    entry.DisplayBitmapWidth = display.Width();
    entry.DisplayBitmapHeight = display.Height();
    WriteBitmapStream(picture, entry.PictureStream);
    entry.SavedZoomMode = ZoomMode;
    entry.SavedScale = Document ? Document->Scale : 1.0f;
    entry.UndoCaption = caption;
    Undo1->setText(QString::fromStdString(caption));
    Undo1->setEnabled(true);
}

void TfrmMain::Undo1Click() {
    if (UndoCount <= 0 || !Document) return;
    {
        THourglass hourglass;
        UNDOTYPE& entry = UndoList[std::size_t(UndoIndex - 1)];
        TImage& image = *Document->Image;
        ReadBitmapStream(entry.DisplayStream, image.PictureBitmap());
        if (FrameInProgress) {
            image.PictureBitmap().SetSize(entry.DisplayBitmapWidth, entry.DisplayBitmapHeight);
            image.SetWidth(entry.DisplayBitmapWidth);
            image.SetHeight(entry.DisplayBitmapHeight);
        }
        if (frmWindow)
            frmWindow->setGeometry(frmWindow->x(), frmWindow->y(), entry.WindowWidth,
                                   entry.WindowHeight);
        ZoomMode = entry.SavedZoomMode;
        Document->Scale = entry.SavedScale;
        SetZoomCaption(CurrentFileName);
        ReadBitmapStream(entry.PictureStream, *Document->Photo);
        Clipboard().SetBitmap(*Document->Photo);
        Document->HideFrame();
        pnlEdit->hide();
        Document->Style = fsNone;
        Effects1->menuAction()->setEnabled(true);
        image.Parent = frmWindow;
        image.Visible = true;
        Document->Window = frmWindow;
        if (frmWindow) frmWindow->ImageChanged();
        ApplyFrame->setEnabled(false);
        FrameInProgress = false;
        Document->FreeFrames();
    }
    StepBackUndo(UndoCount, UndoIndex);
    if (UndoCount != 0) {
        Undo1->setEnabled(true);
        Undo1->setText(QString::fromStdString(UndoList[std::size_t(UndoIndex - 1)].UndoCaption));
    } else {
        Undo1->setEnabled(false);
        Undo1->setText(tr("&Undo"));
    }
}

void TfrmMain::ZoomClick(int mode) {
    if (!Document) return;
    ClearSelection();
    if (!FrameInProgress)
        AddUndo(Document->Image->PictureBitmap(), *Document->Photo, ZoomUndoCaption(mode));
    ZoomMode = mode;
    if (FrameInProgress) {
        {
            THourglass hourglass;
            Document->ShowAtZoom(mode);
        }
        AdjustWindow();
    } else {
        LoadFile(CurrentFileName, true);
    }
    SetZoomCaption(CurrentFileName);
}

void TfrmMain::ClearSelection() {
    if (!NormaliseSelection(TSelection)) return;
    DrawSelection(TSelection.Left, TSelection.Top, TSelection.Bottom, TSelection.Right);
    TSelection = {};
}

void TfrmMain::CropSelection1Click() {
    if (!Document) return;
    if (!NormaliseSelection(TSelection)) return;
    const TSelectionRect s = TSelection;
    DrawSelection(s.Left, s.Top, s.Bottom, s.Right);
    AddUndo(Document->Image->PictureBitmap(), *Document->Photo, "&Undo Crop");
    {
        THourglass hourglass;
        Document->CropPicture(s.Left, s.Top, s.Right, s.Bottom);
    }
    PasteFromClipboardClick();
}

} // namespace quillon
