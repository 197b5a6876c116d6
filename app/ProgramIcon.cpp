#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

namespace quillon {

QIcon ProgramIcon() {
    QIcon icon;
    for (int side : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        const double u = side / 64.0;
        p.scale(u, u);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(160, 110, 40));
        p.drawRect(4, 8, 56, 48);
        p.setBrush(QColor(230, 190, 100));
        p.drawRect(8, 12, 48, 40);
        p.setBrush(QColor(120, 170, 225));
        p.drawRect(13, 17, 38, 30);
        p.setBrush(QColor(70, 135, 60));
        p.drawPolygon(QPolygon({QPoint(13, 47), QPoint(13, 38), QPoint(26, 28), QPoint(36, 38),
                                QPoint(42, 33), QPoint(51, 41), QPoint(51, 47)}));
        p.setBrush(QColor(250, 215, 70));
        p.drawEllipse(QPoint(42, 24), 4, 4);
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace quillon
