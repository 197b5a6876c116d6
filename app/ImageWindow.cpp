#include "app/Wind.h"

#include "app/Dialogs.h"
#include "app/Mainfrm.h"
#include "app/QtBitmap.h"
#include "document/Butbar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace quillon {

namespace {

void InvertPixel(Bitmap& bitmap, int x, int y) {
    std::uint8_t* p = bitmap.ScanLine(y) + std::size_t(x) * std::size_t(bitmap.BytesPerPixel());
    p[0] = std::uint8_t(~p[0]);
    p[1] = std::uint8_t(~p[1]);
    p[2] = std::uint8_t(~p[2]);
}

TShiftState ShiftOf(const QMouseEvent* event) {
    TShiftState s = 0;
    const auto mods = event->modifiers();
    if (mods & Qt::ShiftModifier) s |= ssShift;
    if (mods & Qt::AltModifier) s |= ssAlt;
    if (mods & Qt::ControlModifier) s |= ssCtrl;
    const auto buttons = event->buttons();
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

bool ButtonOf(const QMouseEvent* event, TMouseButton& out) {
    switch (event->button()) {
    case Qt::LeftButton:
        out = TMouseButton::mbLeft;
        return true;
    case Qt::RightButton:
        out = TMouseButton::mbRight;
        return true;
    case Qt::MiddleButton:
        out = TMouseButton::mbMiddle;
        return true;
    default:
        return false;
    }
}

} // namespace

void XorFocusRect(Bitmap& bitmap, const Rect& r) {
    if (r.Right <= r.Left || r.Bottom <= r.Top || bitmap.Empty()) return;
    if (bitmap.IsIndexed()) bitmap.SetPixelFormat(PixelFormat::Device);
    // Dots sit where x + y is even, so a rectangle drawn at the same place
    // always hits the same pixels. Each outline pixel is inverted once.
    auto dot = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return;
        if (((x + y) & 1) == 0) InvertPixel(bitmap, x, y);
    };
    const int right = r.Right - 1;
    const int bottom = r.Bottom - 1;
    for (int x = r.Left; x <= right; ++x) {
        dot(x, r.Top);
        if (bottom != r.Top) dot(x, bottom);
    }
    for (int y = r.Top + 1; y < bottom; ++y) {
        dot(r.Left, y);
        if (right != r.Left) dot(right, y);
    }
}

TImageView::TImageView(TfrmMain& main, QWidget* parent) : QWidget(parent), main_(main) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TImage* TImageView::Shown() const {
    TButtonBar* doc = main_.Document.get();
    if (!doc) return nullptr;
    TImage* image = doc->VisibleImage();
    return image && image->Visible ? image : nullptr;
}

void TImageView::SyncSize() {
    const TImage* image = Shown();
    const QSize size = image ? QSize(image->Left() + image->PictureBitmap().Width(),
                                     image->Top() + image->PictureBitmap().Height())
                             : QSize(0, 0);
    if (size != this->size()) setFixedSize(size);
}

void TImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Button));
    TImage* image = Shown();
    if (!image) return;
    const Bitmap& bitmap = image->PictureBitmap();
    // Only the exposed part is converted, so scrolling a large picture stays
    // cheap.
    const QRect area = event->rect().intersected(
        QRect(image->Left(), image->Top(), bitmap.Width(), bitmap.Height()));
    if (area.isEmpty()) return;
    const QRect source = area.translated(-image->Left(), -image->Top());
    painter.drawImage(area.topLeft(),
                      ToQImage(bitmap, source.x(), source.y(), source.width(), source.height()));
}

void TImageView::mousePressEvent(QMouseEvent* event) {
    TImage* image = Shown();
    TMouseButton button;
    if (!image || !ButtonOf(event, button)) return;
    const QPoint p = event->position().toPoint();
    main_.ClosePatternPicker();
    image->MouseDown(button, ShiftOf(event), p.x() - image->Left(), p.y() - image->Top());
}

void TImageView::mouseReleaseEvent(QMouseEvent* event) {
    TImage* image = Shown();
    TMouseButton button;
    if (!image || !ButtonOf(event, button)) return;
    const QPoint p = event->position().toPoint();
    image->MouseUp(button, ShiftOf(event), p.x() - image->Left(), p.y() - image->Top());
}

void TImageView::mouseMoveEvent(QMouseEvent* event) {
    main_.ClosePatternPicker();
    TImage* image = Shown();
    if (!image) return;
    const QPoint p = event->position().toPoint();
    image->MouseMove(ShiftOf(event), p.x() - image->Left(), p.y() - image->Top());
}

TfrmWindow::TfrmWindow(TfrmMain& main) : main_(main) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Loading Image..."));
    Scroller = new QScrollArea(this);
    Scroller->setFrameShape(QFrame::NoFrame);
    Scroller->setWidgetResizable(false);
    Scroller->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Scroller->setBackgroundRole(QPalette::Button);
    View = new TImageView(main, Scroller);
    Scroller->setWidget(View);
    setWidget(Scroller);
    resize(30, 30);

    for (QAction* item : main.PopupItems()) PopupMenu.addAction(item);
    main.StylePictureMenu(PopupMenu);

    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this,
            [this] { main_.RunCommand([this] { Timer1Timer(); }); });
    Timer1.start();
}

TfrmWindow::~TfrmWindow() = default;

void TfrmWindow::ImageChanged() {
    View->SyncSize();
    View->update();
}

int TfrmWindow::HorzScrollPosition() const {
    return Scroller->horizontalScrollBar()->value();
}

int TfrmWindow::VertScrollPosition() const {
    return Scroller->verticalScrollBar()->value();
}

void TfrmWindow::SetScrollPositions(int h, int v) {
    Scroller->horizontalScrollBar()->setValue(h);
    Scroller->verticalScrollBar()->setValue(v);
}

void TfrmWindow::SetScrollBarsShown(bool shown) {
    const auto policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    Scroller->setHorizontalScrollBarPolicy(policy);
    Scroller->setVerticalScrollBarPolicy(policy);
}

void TfrmWindow::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    FormShow();
}

void TfrmWindow::FormShow() {
    main_.TSelection = {};
    if (main_.Document) main_.Document->ClearMouseState();
    View->SyncSize();
}

void TfrmWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        Timer1.stop();
        main_.ImageWindowClosed(this);
    }
    QMdiSubWindow::closeEvent(event);
}

void TfrmWindow::Timer1Timer() {
    TfrmMain& m = main_;
    TSelectionRect& sel = m.TSelection;
    m.CropSelection1->setEnabled(sel.Right != sel.Left);
    if (m.TimerBusy) return;
    TButtonBar* doc = m.Document.get();
    if (!doc) return;
    TMouseState state;
    doc->GetMouseState(state);
    if (state.RightReleased) m.ClosePatternPicker();
    if (state.RightReleased) {
        if (sel.Bottom != 0 || sel.Right != 0) {
            m.DrawSelection(sel.Left, sel.Top, sel.Bottom, sel.Right);
            m.Dragging = false;
            sel = {};
        }
        const int h = HorzScrollPosition();
        const int v = VertScrollPosition();
        const QRect mainBounds = m.geometry();
        m.TimerBusy = true;
        struct TBusyReset {
            bool& flag;
            ~TBusyReset() { flag = false; }
        } reset{m.TimerBusy};
        QAction* chosen =
            Dialogs().PopupMenu(PopupMenu, QPoint(mainBounds.left() + x() + state.ButtonX - h,
                                                  mainBounds.top() + y() + state.ButtonY - v));
        (void)chosen; // a chosen item has run its command already
        m.TimerBusy = false;
        // The pop-up may have replaced or closed the document.
        if (!m.Document) return;
        m.Document->ClearMouseState();
        doc = m.Document.get();
    }
    if (!m.Dragging && state.LeftPressed) {
        if (sel.Bottom != 0 || sel.Right != 0) {
            m.DrawSelection(sel.Left, sel.Top, sel.Bottom, sel.Right);
            sel.Right = 0;
            sel.Bottom = 0;
        }
        m.Dragging = true;
        sel = {state.ButtonX, state.ButtonY, 0, 0};
        QApplication::setOverrideCursor(Qt::CrossCursor);
        m.CrossCursorSet = true;
    }
    if (state.LeftReleased) {
        if (m.Dragging) {
            if (sel.Right != 0 || sel.Bottom != 0)
                m.DrawSelection(sel.Left, sel.Top, sel.Bottom, sel.Right);
            sel.Right = state.PointerX;
            sel.Bottom = state.PointerY;
            m.DrawSelection(sel.Left, sel.Top, sel.Bottom, sel.Right);
        }
        m.Dragging = false;
        m.RestoreCrossCursor();
    }
    if (m.Dragging) {
        if (sel.Right != 0 || sel.Bottom != 0)
            m.DrawSelection(sel.Left, sel.Top, sel.Bottom, sel.Right);
        sel.Right = state.PointerX;
        sel.Bottom = state.PointerY;
        m.DrawSelection(sel.Left, sel.Top, sel.Bottom, sel.Right);
    }
    doc->ClearMouseState();
}

} // namespace quillon
