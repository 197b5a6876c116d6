// PictureMenuStyle: draws the menu items whose icon is a style picture (the
// Frames menu and the image window's pop-up) as that picture alone, at its
// own 174 x 25 size. Their text stays on the action, unseen, as the name
// assistive tools read and the tooltip shows; every other item is drawn by
// the application's style.
#pragma once

#include <QProxyStyle>

namespace quillon {

class PictureMenuStyle final : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

} // namespace quillon
