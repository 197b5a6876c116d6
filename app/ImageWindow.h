// TfrmWindow: the image window, the one child window of the main window's
// document area. It shows the current document's visible image control at
// one bitmap pixel per screen pixel, turns mouse activity over it into the
// control's handlers, and every 100 ms polls the document's mouse state to
// draw the rubber-band selection and open the frame pop-up menu. It owns no
// picture: the document owns the image controls and is always destroyed
// before the window.
#pragma once

#include "canvas/Bitmap.h"
#include "canvas/Types.h"
#include "frames/Image.h"

#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QWidget>

class QScrollArea;

namespace quillon {

class TfrmMain;

// Draws a dotted focus rectangle over (Left, Top)-(Right, Bottom), right and
// bottom edges excluded, by inverting every other pixel of its outline; the
// same call again restores the picture. Pixels outside the bitmap are skipped.
void XorFocusRect(Bitmap& bitmap, const Rect& rect);

// Paints an image control's picture and feeds it the mouse.
class TImageView final : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(TfrmMain& main, QWidget* parent = nullptr);
    // Resizes the view to the shown control's extent.
    void SyncSize();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TImage* Shown() const;
    TfrmMain& main_;
};

class TfrmWindow final : public QMdiSubWindow, public TImageParent {
    Q_OBJECT
public:
    explicit TfrmWindow(TfrmMain& main);
    ~TfrmWindow() override;

    void ImageChanged() override;

    int HorzScrollPosition() const;
    int VertScrollPosition() const;
    void SetScrollPositions(int h, int v);
    void SetScrollBarsShown(bool shown);

    // One step of the 100 ms poll (public so that tests can step it).
    void Timer1Timer();

    QMenu PopupMenu;
    QTimer Timer1;
    TImageView* View = nullptr;
    QScrollArea* Scroller = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow();
    TfrmMain& main_;
    bool closing_ = false;
};

} // namespace quillon
