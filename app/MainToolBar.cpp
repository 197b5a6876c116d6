#include "app/MainToolBar.h"

#include <QAction>
#include <QIcon>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QToolBar>

namespace quillon {

namespace {

// A 24-pixel icon drawn by paint, for actions no standard icon shows.
template <typename Paint> QIcon DrawnIcon(const QColor& ink, Paint paint) {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 2));
    paint(painter);
    return QIcon(pixmap);
}

QIcon FrameIcon(const QColor& ink) {
    return DrawnIcon(ink, [&](QPainter& p) {
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setPen(QPen(ink, 1));
        p.drawRect(QRectF(7.5, 7.5, 9, 9));
    });
}

QIcon FitIcon(const QColor& ink) {
    return DrawnIcon(ink, [](QPainter& p) {
        // Four corners pointing out: the picture fills the window.
        const QPointF corners[4][3] = {{{3, 9}, {3, 3}, {9, 3}},
                                       {{15, 3}, {21, 3}, {21, 9}},
                                       {{21, 15}, {21, 21}, {15, 21}},
                                       {{9, 21}, {3, 21}, {3, 15}}};
        for (const auto& c : corners) p.drawPolyline(c, 3);
        p.drawRect(QRectF(8, 8, 8, 8));
    });
}

void Decorate(QAction* action, const char* themeName, const QIcon& fallback, const QString& text) {
    if (!action) return;
    action->setIcon(QIcon::fromTheme(QString::fromLatin1(themeName), fallback));
    action->setIconText(text);
}

} // namespace

QToolBar* AddMainToolBar(QMainWindow& window, const ToolBarActions& actions) {
    auto* bar = window.addToolBar(QObject::tr("Main Tool Bar"));
    bar->setObjectName("mainToolBar");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle* style = window.style();
    const QColor ink = window.palette().color(QPalette::WindowText);
    Decorate(actions.open, "document-open", style->standardIcon(QStyle::SP_DialogOpenButton),
             QObject::tr("Open"));
    Decorate(actions.save, "document-save", style->standardIcon(QStyle::SP_DialogSaveButton),
             QObject::tr("Save"));
    Decorate(actions.undo, "edit-undo", style->standardIcon(QStyle::SP_ArrowBack),
             QObject::tr("Undo"));
    Decorate(actions.redo, "edit-redo", style->standardIcon(QStyle::SP_ArrowForward),
             QObject::tr("Redo"));
    Decorate(actions.applyFrame, "insert-image", FrameIcon(ink), QObject::tr("Apply Frame"));
    Decorate(actions.zoomToFit, "zoom-fit-best", FitIcon(ink), QObject::tr("Zoom to Fit"));
    for (QAction* a : {actions.open, actions.save})
        if (a) bar->addAction(a);
    bar->addSeparator();
    for (QAction* a : {actions.undo, actions.redo})
        if (a) bar->addAction(a);
    bar->addSeparator();
    if (actions.applyFrame) bar->addAction(actions.applyFrame);
    if (actions.zoomToFit) bar->addAction(actions.zoomToFit);
    return bar;
}

} // namespace quillon
