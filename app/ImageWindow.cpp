#include "app/ImageWindow.h"

#include "app/DocumentController.h"
#include "app/QtBitmap.h"
#include "app/dialogs/Dialogs.h"
#include "document/PhotoDocument.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

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
    connect(&controller_, &DocumentController::selectionChanged, this,
            qOverload<>(&QWidget::update));
}

PictureView::~PictureView() {
    endDrag();
}

void PictureView::syncSize() {
    const PhotoDocument* document = controller_.document();
    const QSize size =
        document ? QSize(document->PreviewWidth(), document->PreviewHeight()) : QSize(0, 0);
    if (size != this->size()) setFixedSize(size);
}

void PictureView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    const PhotoDocument* document = controller_.document();
    if (!document) return;
    const Bitmap& picture = document->Preview();
    // Only the exposed part is converted, so scrolling a large picture stays
    // cheap.
    const QRect area = event->rect().intersected(QRect(0, 0, picture.Width(), picture.Height()));
    if (area.isEmpty()) return;
    QImage part = ToQImage(picture, area.x(), area.y(), area.width(), area.height());
    const Selection band = controller_.selection().Normalised();
    InvertFocusRect(part, area.topLeft(), Rect(band.left, band.top, band.right, band.bottom));
    painter.drawImage(area.topLeft(), part);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    emit pointerActivity();
    if (event->button() != Qt::LeftButton || !controller_.document() || controller_.framing())
        return;
    const QPoint p = event->position().toPoint();
    controller_.beginSelection(p.x(), p.y());
    if (!dragging_) {
        dragging_ = true;
        QApplication::setOverrideCursor(Qt::CrossCursor);
    }
}

void PictureView::mouseMoveEvent(QMouseEvent* event) {
    emit pointerActivity();
    if (!dragging_) return;
    const QPoint p = event->position().toPoint();
    controller_.extendSelection(p.x(), p.y());
}

void PictureView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (dragging_) controller_.endSelection(p.x(), p.y());
        endDrag();
    } else if (event->button() == Qt::RightButton) {
        emit pointerActivity();
        // A right click ends any selection before the menu opens.
        endDrag();
        controller_.clearSelection();
        emit popupRequested(p);
    }
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
    connect(&controller_, &DocumentController::pictureChanged, this, &ImageWindow::showPicture);
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
    view_->syncSize();
    view_->update();
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
