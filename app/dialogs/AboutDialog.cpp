#include "app/dialogs/AboutDialog.h"

#include "app/StylePictures.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace quillon {

namespace {
constexpr int kPictureWidth = 362;
constexpr int kPictureHeight = 222;
} // namespace

QImage AboutDialog::makePicture() {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, kPictureHeight);
    sky.setColorAt(0, QColor(38, 52, 86));
    sky.setColorAt(1, QColor(120, 86, 48));
    p.fillRect(image.rect(), sky);

    // A framed photograph on the left: the engine's own picture of a frame.
    const QImage framed = FramedSample(StyleId::Corner, 120, 150);
    if (!framed.isNull()) p.drawImage(QPoint(24, (kPictureHeight - framed.height()) / 2), framed);

    p.setPen(QColor(250, 240, 210));
    QFont title("Serif", 30, QFont::Bold);
    title.setItalic(true);
    p.setFont(title);
    p.drawText(QRect(160, 28, 190, 60), Qt::AlignLeft | Qt::AlignVCenter, "Quillon");
    QFont small("Sans", 10);
    p.setFont(small);
    p.drawText(QRect(162, 92, 190, 36), Qt::AlignLeft | Qt::TextWordWrap,
               QObject::tr("Picture framing for your photographs"));
    const QStringList lines = aboutLines();
    p.setFont(QFont("Sans", 11, QFont::Bold));
    p.drawText(QRect(162, 132, 190, 22), Qt::AlignLeft | Qt::AlignVCenter, lines[0]);
    p.setFont(QFont("Sans", 8));
    p.drawText(QRect(162, 158, 190, 18), Qt::AlignLeft | Qt::AlignVCenter, lines[1]);
    p.drawText(QRect(162, 178, 190, 18), Qt::AlignLeft | Qt::AlignVCenter, lines[2]);
    p.setPen(QColor(200, 180, 140));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QStringList AboutDialog::aboutLines() {
    return {QString::fromUtf8(QUILLON_VERSION_TEXT),
            QObject::tr("Licence: %1").arg(QString::fromUtf8(QUILLON_LICENCE_TEXT)),
            QObject::tr("Qt %1").arg(QString::fromLatin1(qVersion()))};
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setObjectName("aboutDialog");
    setWindowTitle(tr("About Quillon"));
    const QImage picture = makePicture();
    pictureLabel = new QLabel(this);
    pictureLabel->setPixmap(QPixmap::fromImage(picture));
    pictureLabel->setGeometry(-1, -1, picture.width(), picture.height());
    pictureLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The picture's text for whoever cannot see it.
    pictureLabel->setAccessibleName(tr("About Quillon"));
    pictureLabel->setAccessibleDescription(aboutLines().join('\n'));
    pictureLabel->setToolTip(aboutLines().join('\n'));
    // The window is the picture less a pixel on every side.
    setFixedSize(picture.width() - 2, picture.height() - 2);

    closeTimer.setSingleShot(true);
    closeTimer.setInterval(3000);
    connect(&closeTimer, &QTimer::timeout, this, [this] {
        if (isVisible()) accept();
    });
    closeTimer.start();
}

void AboutDialog::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    accept();
}

} // namespace quillon
