#include "app/ColorChoicePopup.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int kSwatchSide = 22;
constexpr int kColumns = 4;

QColor ToQColor(Color c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QIcon SwatchIcon(Color color, bool current) {
    QPixmap pixmap(kSwatchSide - 4, kSwatchSide - 4);
    pixmap.fill(ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    if (current) {
        // The colour in use gets a second ring in the colour's contrast.
        painter.setPen(qGray(ToQColor(color).rgb()) < 128 ? Qt::white : Qt::black);
        painter.drawRect(pixmap.rect().adjusted(2, 2, -3, -3));
    }
    return QIcon(pixmap);
}

} // namespace

QString ColorName(Color color) {
    return QStringLiteral("#%1%2%3")
        .arg(GetRValue(color), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(color), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(color), 2, 16, QLatin1Char('0'))
        .toUpper();
}

ColorChoicePopup::ColorChoicePopup(QWidget* parent) : QFrame(parent, Qt::Popup) {
    setObjectName("colorChoicePopup");
    setAccessibleName("Colours");
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    caption_ = new QLabel("From the photo", this);
    caption_->setObjectName("photoColorsLabel");
    layout->addWidget(caption_);
    grid_ = new QWidget(this);
    grid_->setObjectName("photoColors");
    auto* grid = new QGridLayout(grid_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    layout->addWidget(grid_);
    more_ = new QPushButton("More Colors...", this);
    more_->setObjectName("moreColorsButton");
    more_->setToolTip("Choose any colour in the standard colour dialog");
    layout->addWidget(more_);
    connect(more_, &QPushButton::clicked, this, [this] {
        hide();
        emit moreColorsRequested();
    });
}

void ColorChoicePopup::popUp(const std::vector<Color>& colors, Color current, const QPoint& at) {
    for (QToolButton* b : swatches_) delete b;
    swatches_.clear();
    auto* grid = static_cast<QGridLayout*>(grid_->layout());
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const Color color = colors[i] & 0xFFFFFF;
        auto* b = new QToolButton(grid_);
        b->setObjectName(QStringLiteral("photoColor%1").arg(i));
        b->setIcon(SwatchIcon(color, color == (current & 0xFFFFFF)));
        b->setIconSize(QSize(kSwatchSide - 4, kSwatchSide - 4));
        b->setFixedSize(kSwatchSide, kSwatchSide);
        b->setAutoRaise(true);
        b->setToolTip(ColorName(color) + " from the photo");
        b->setAccessibleName("Photo colour " + ColorName(color));
        connect(b, &QToolButton::clicked, this, [this, color] {
            hide();
            emit colorChosen(color);
        });
        grid->addWidget(b, int(i) / kColumns, int(i) % kColumns);
        swatches_.push_back(b);
    }
    caption_->setVisible(!colors.empty());
    grid_->setVisible(!colors.empty());
    adjustSize();
    QPoint place = at;
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
        const QRect room = screen->availableGeometry();
        place.setX(std::min(place.x(), room.right() - width()));
        place.setY(std::min(place.y(), room.bottom() - height()));
    }
    move(place);
    show();
    if (!swatches_.empty()) swatches_.front()->setFocus();
}

} // namespace quillon
