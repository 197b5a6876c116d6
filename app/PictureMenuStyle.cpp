#include "app/PictureMenuStyle.h"

#include "app/StylePictures.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

namespace quillon {

namespace {

const QStyleOptionMenuItem* PictureItem(const QStyleOption* option) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (!item || item->menuItemType != QStyleOptionMenuItem::Normal || item->icon.isNull())
        return nullptr;
    const QSize pictureSize(kStylePictureWidth, kStylePictureHeight);
    return item->icon.availableSizes().contains(pictureSize) ? item : nullptr;
}

} // namespace

QSize PictureMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                         const QSize& size, const QWidget* widget) const {
    if (type == CT_MenuItem && PictureItem(option))
        return QSize(kStylePictureWidth + 8, kStylePictureHeight + 4);
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void PictureMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    const QStyleOptionMenuItem* item = element == CE_MenuItem ? PictureItem(option) : nullptr;
    if (!item) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const bool selected = item->state & State_Selected;
    const bool enabled = item->state & State_Enabled;
    painter->fillRect(item->rect,
                      item->palette.color(selected ? QPalette::Highlight : QPalette::Window));
    const QIcon::Mode mode = enabled ? QIcon::Normal : QIcon::Disabled;
    const QPixmap picture = item->icon.pixmap(QSize(kStylePictureWidth, kStylePictureHeight), mode);
    painter->drawPixmap(item->rect.left() + 4, item->rect.top() + 2, picture);
}

} // namespace quillon
