// ImageWindow: the image window, the one child window of the main window's
// document area. It shows the document's picture (the photo, or the framed
// picture while a style is chosen) at the controller's zoom, and draws the
// rubber-band selection over it. A left drag on the photo becomes the
// controller's selection (in picture pixels), a right click opens the pop-up
// menu of frame styles, Ctrl and the wheel zoom about the pointer. The
// window owns no picture, only the zoom-sized copy it paints from: it
// repaints when the controller says the picture changed, and closing it
// closes the document.
#pragma once

#include "app/ShownPicture.h"
#include "canvas/Types.h"

#include <QList>
#include <QMdiSubWindow>
#include <QMenu>
#include <QWidget>

#include <functional>

class QAction;
class QImage;
class QScrollArea;
class QStyle;

namespace quillon {

class DocumentController;

// Draws a dotted focus rectangle over band (right and bottom edges
// excluded) into image, whose top-left pixel is origin in picture
// coordinates, by inverting every other pixel of the outline: the pixels
// where x + y is even, so that a band always dots the same pixels. Each
// outline pixel is inverted once; pixels outside the image are skipped.
void InvertFocusRect(QImage& image, const QPoint& origin, const Rect& band);

// The widget the picture is painted in, inside the window's scroll area.
class PictureView final : public QWidget {
    Q_OBJECT
public:
    PictureView(DocumentController& controller, QWidget* parent = nullptr);
    ~PictureView() override;
    // Sizes the view to the shown picture.
    void syncSize();
    // The picture changed, or its zoom: the copy painted from goes.
    void invalidate();
    // The picture pixel under a point of the view.
    QPoint pictureAt(const QPointF& viewPos) const;

signals:
    // Any press or move: the decoration picker closes.
    void pointerActivity();
    // A right click released at pos (view coordinates).
    void popupRequested(const QPoint& pos);
    // Ctrl and the wheel turned by steps notches (up: positive) at pos.
    void wheelZoomRequested(int steps, const QPointF& pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void endDrag();
    DocumentController& controller_;
    ShownPicture shown_;
    // The wheel's turn not yet a whole notch (fine-grained wheels and pads).
    int wheelRest_ = 0;
    // A left drag in progress; the cross cursor shows while it lasts.
    bool dragging_ = false;
};

class ImageWindow final : public QMdiSubWindow {
    Q_OBJECT
public:
    // styleActions: the Frames menu's items, shown in the pop-up drawn by
    // menuStyle.
    ImageWindow(DocumentController& controller, const QList<QAction*>& styleActions,
                QStyle* menuStyle);
    ~ImageWindow() override;

    PictureView* view() const { return view_; }
    QMenu& popupMenu() { return popupMenu_; }
    int horizontalScroll() const;
    int verticalScroll() const;
    void setScrollPositions(int horizontal, int vertical);
    void setScrollBarsShown(bool shown);
    // The picture changed: the view takes its size and repaints.
    void showPicture();
    // Zooms by steps (in: positive), keeping the picture point under
    // viewPos (view coordinates) where it is on the screen.
    void zoomAbout(int steps, const QPointF& viewPos);
    // Whether the window is closing (by the user or for the document).
    bool closing() const { return closing_; }
    // Asked before the user's close closes the document; false keeps the
    // window open. None allows it.
    std::function<bool()> closeAllowed;

signals:
    void pointerActivity();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Opens the pop-up where the click was, as the program always has: the
    // main window's corner plus this window's place in the document area
    // plus the click in the visible part of the picture.
    void openPopup(const QPoint& viewPos);

    DocumentController& controller_;
    QScrollArea* scroller_ = nullptr;
    PictureView* view_ = nullptr;
    QMenu popupMenu_;
    bool closing_ = false;
};

} // namespace quillon
