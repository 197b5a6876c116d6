#include "app/ImageWindow.h"

#include "app/DocumentController.h"
#include "app/dialogs/Dialogs.h"
#include "document/PhotoDocument.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace quillon {

namespace {

void InvertPixel(QImage& image, int x, int y) {
    QRgb& p = reinterpret_cast<QRgb*>(image.scanLine(y))[x];
    p = qRgb(255 - qRed(p), 255 - qGreen(p), 255 - qBlue(p));
}

} // namespace

void InvertFocusRect(QImage& image, const QPoint& origin, const Rect& band) {
    if (band.Right <= band.Left || band.Bottom <= band.Top || image.isNull()) return;
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
    auto dot = [&](int x, int y) {
        const int ix = x - origin.x(), iy = y - origin.y();
        if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height()) return;
        if (((x + y) & 1) == 0) InvertPixel(image, ix, iy);
    };
    const int right = band.Right - 1;
    const int bottom = band.Bottom - 1;
    for (int x = band.Left; x <= right; ++x) {
        dot(x, band.Top);
        if (bottom != band.Top) dot(x, bottom);
    }
    for (int y = band.Top + 1; y < bottom; ++y) {
        dot(band.Left, y);
        if (right != band.Left) dot(right, y);
    }
}

// --- PictureView ------------------------------------------------------------------

PictureView::PictureView(DocumentController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&controller_, &DocumentController::selectionChanged, this,
            qOverload<>(&QWidget::update));
}

PictureView::~PictureView() {
    endDrag();
}

void PictureView::syncSize() {
    // The shown size counts device pixels; the widget is sized in logical
    // ones, so that 100 % is one picture pixel a device pixel.
    const QSize shown = controller_.shownSize();
    const double ratio = devicePixelRatioF();
    const QSize size(int(std::ceil(shown.width() / ratio)), int(std::ceil(shown.height() / ratio)));
    if (size != this->size()) setFixedSize(size);
}

void PictureView::invalidate() {
    shown_.invalidate();
}

QPoint PictureView::pictureAt(const QPointF& viewPos) const {
    const double perPixel = devicePixelRatioF() / controller_.zoom();
    return {int(std::floor(viewPos.x() * perPixel)), int(std::floor(viewPos.y() * perPixel))};
}

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    // A frame still changing on a large photo: its small picture, stretched
    // to the shown size, until the real one is drawn.
    if (const Bitmap* quick = controller_.quickPreview();
        quick && !quick->Empty() && quick->BytesPerPixel() == 4) {
        const QImage small(quick->Bits(), quick->Width(), quick->Height(), int(quick->Stride()),
                           QImage::Format_RGB32);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(
            QRectF(QPointF(0, 0), QSizeF(controller_.shownSize()) / devicePixelRatioF()), small);
        return;
    }
    const Bitmap* picture = controller_.picture();
    if (!picture || picture->Empty()) return;
    const double ratio = devicePixelRatioF();
    const double scale = controller_.zoom();
    const QSize shownSize = controller_.shownSize();
    // Only the exposed part is painted, so scrolling a large picture stays
    // cheap; the arithmetic is in device pixels.
    const QRect area =
        QRectF(QRectF(event->rect()).topLeft() * ratio, QRectF(event->rect()).size() * ratio)
            .toAlignedRect()
            .intersected(QRect(QPoint(0, 0), shownSize));
    if (area.isEmpty()) return;
    const QRectF target(QPointF(area.topLeft()) / ratio, QSizeF(area.size()) / ratio);

    const Selection s = controller_.selection().Normalised();
    const auto shownAt = [scale](int v) { return int(std::floor(v * scale + 1e-7)); };
    const Rect band(shownAt(s.left), shownAt(s.top), shownAt(s.right), shownAt(s.bottom));
    const bool banded = band.Right > band.Left && band.Bottom > band.Top &&
                        QRect(band.Left, band.Top, band.Right - band.Left, band.Bottom - band.Top)
                            .adjusted(-1, -1, 1, 1)
                            .intersects(area);

    QImage part;
    if (scale > 1) {
        part = MagnifiedPart(shown_.source(*picture), scale, area);
    } else {
        const QImage& image = shown_.scaled(*picture, shownSize);
        if (!banded) {
            painter.drawImage(target, image, QRectF(area));
            return;
        }
        part = image.copy(area);
    }
    if (banded) InvertFocusRect(part, area.topLeft(), band);
    painter.drawImage(target, part, QRectF(part.rect()));
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    emit pointerActivity();
    if (event->button() != Qt::LeftButton || !controller_.document() || controller_.framing())
        return;
    const QPoint p = pictureAt(event->position());
    controller_.beginSelection(p.x(), p.y());
    if (!dragging_) {
        dragging_ = true;
        QApplication::setOverrideCursor(Qt::CrossCursor);
    }
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerActivity();
    if (!dragging_) return;
    const QPoint p = pictureAt(event->position());
    controller_.extendSelection(p.x(), p.y());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const QPoint at = pictureAt(event->position());
        if (dragging_) controller_.endSelection(at.x(), at.y());
        endDrag();
    } else if (event->button() == Qt::RightButton) {
        emit pointerActivity();
        // A right click ends any selection before the menu opens.
        endDrag();
        controller_.clearSelection();
        emit popupRequested(p);
    }
}

void PictureView::wheelEvent(QWheelEvent* event) {
    // Without Ctrl the wheel scrolls, which the scroll area does.
    if (!(event->modifiers() & Qt::ControlModifier) || !controller_.document()) {
        event->ignore();
        return;
    }
    event->accept();
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRest_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) emit wheelZoomRequested(steps, event->position());
}

void PictureView::endDrag() {
    if (!dragging_) return;
    dragging_ = false;
    QApplication::restoreOverrideCursor();
}

// --- ImageWindow ---------------------------------------------------------------------

ImageWindow::ImageWindow(DocumentController& controller, const QList<QAction*>& styleActions,
                         QStyle* menuStyle)
    : controller_(controller) {
    setObjectName("imageWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Loading Image..."));
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(false);
    scroller_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroller_->setBackgroundRole(QPalette::Button);
    view_ = new PictureView(controller_, scroller_);
    scroller_->setWidget(view_);
    setWidget(scroller_);
    resize(30, 30);

    popupMenu_.addActions(styleActions);
    popupMenu_.setStyle(menuStyle);

    connect(view_, &PictureView::pointerActivity, this, &ImageWindow::pointerActivity);
    connect(view_, &PictureView::popupRequested, this, &ImageWindow::openPopup);
    connect(view_, &PictureView::wheelZoomRequested, this, &ImageWindow::zoomAbout);
    connect(&controller_, &DocumentController::pictureChanged, this, &ImageWindow::showPicture);
    connect(&controller_, &DocumentController::zoomChanged, this, &ImageWindow::showPicture);
    // A frame, and each decoration picked for it, is shown from its top left.
    connect(&controller_, &DocumentController::styleChanged, this, [this] {
        if (controller_.framing()) setScrollPositions(0, 0);
    });
    connect(&controller_, &DocumentController::decorationChosen, this,
            [this] { setScrollPositions(0, 0); });
    view_->syncSize();
}

ImageWindow::~ImageWindow() = default;

void ImageWindow::showPicture() {
    view_->invalidate();
    view_->syncSize();
    view_->update();
}

void ImageWindow::zoomAbout(int steps, const QPointF& viewPos) {
    // The picture point under the pointer, as a fraction of the shown size,
    // and where the pointer is in the visible part.
    const QSize before = controller_.shownSize();
    if (before.isEmpty()) return;
    const QPointF fraction(viewPos.x() / view_->width(), viewPos.y() / view_->height());
    const QPointF inViewport = viewPos - QPointF(horizontalScroll(), verticalScroll());
    for (; steps > 0; --steps) controller_.zoomIn();
    for (; steps < 0; ++steps) controller_.zoomOut();
    setScrollPositions(int(std::lround(fraction.x() * view_->width() - inViewport.x())),
                       int(std::lround(fraction.y() * view_->height() - inViewport.y())));
}

int ImageWindow::horizontalScroll() const {
    return scroller_->horizontalScrollBar()->value();
}

int ImageWindow::verticalScroll() const {
    return scroller_->verticalScrollBar()->value();
}

void ImageWindow::setScrollPositions(int horizontal, int vertical) {
    scroller_->horizontalScrollBar()->setValue(horizontal);
    scroller_->verticalScrollBar()->setValue(vertical);
}

void ImageWindow::setScrollBarsShown(bool shown) {
    const auto policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    scroller_->setHorizontalScrollBarPolicy(policy);
    scroller_->setVerticalScrollBarPolicy(policy);
}

void ImageWindow::openPopup(const QPoint& viewPos) {
    const QRect mainBounds = window()->geometry();
    const QPoint at(mainBounds.left() + x() + viewPos.x() - horizontalScroll(),
                    mainBounds.top() + y() + viewPos.y() - verticalScroll());
    // A chosen item has run its command by the time the menu returns.
    Dialogs::current().popupMenu(popupMenu_, at);
}

void ImageWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        if (closeAllowed && !closeAllowed()) {
            event->ignore();
            return;
        }
        closing_ = true;
        controller_.closeDocument();
    }
    QMdiSubWindow::closeEvent(event);
}

} // namespace quillon
