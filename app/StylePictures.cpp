#include "app/StylePictures.h"

#include "app/QtBitmap.h"
#include "document/PhotoDocument.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <QCoreApplication>
#include <QPainter>

#include <exception>

namespace quillon {

namespace {

// A small photo: the data folder's sample when it reads, else a landscape
// drawn here.
QImage SamplePhoto() {
    static const QImage photo = [] {
        QImage image;
        try {
            auto bitmap = LoadPictureFile(StartFolderFile("sample.jpg"));
            if (bitmap && !bitmap->Empty()) image = ToQImage(*bitmap);
        } catch (const std::exception&) {
        }
        if (image.isNull()) {
            image = QImage(160, 120, QImage::Format_RGB32);
            QPainter p(&image);
            QLinearGradient sky(0, 0, 0, 80);
            sky.setColorAt(0, QColor(90, 150, 220));
            sky.setColorAt(1, QColor(200, 225, 245));
            p.fillRect(0, 0, 160, 80, sky);
            p.fillRect(0, 80, 160, 40, QColor(70, 130, 60));
            p.setBrush(QColor(250, 210, 60));
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPoint(118, 30), 14, 14);
        }
        return image.scaled(96, 72, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }();
    return photo;
}

QString DisplayName(StyleId style) {
    return QCoreApplication::translate("Quillon", StyleInfoOf(style).displayName);
}

QImage PlaceholderPicture(StyleId style) {
    QImage image(kStylePictureWidth, kStylePictureHeight, QImage::Format_RGB32);
    image.fill(QColor(236, 233, 216));
    QPainter p(&image);
    p.setPen(QColor(90, 70, 40));
    p.drawRect(2, 2, 30, 20);
    p.drawRect(6, 6, 22, 12);
    p.setPen(Qt::black);
    p.drawText(QRect(40, 0, kStylePictureWidth - 42, kStylePictureHeight),
               Qt::AlignLeft | Qt::AlignVCenter, DisplayName(style));
    return image;
}

} // namespace

QImage FramedSampleByRecipe(const Recipe& recipe, int maxWidth, int maxHeight) {
    try {
        auto photo = std::make_unique<Bitmap>();
        FromQImage(SamplePhoto(), *photo);
        PhotoDocument document;
        document.OpenPicture(std::move(photo), "Sample", Zoom::Normal);
        ApplyRecipe(document, recipe);
        const Bitmap* framed = document.Result();
        if (!framed || framed->Empty()) return {};
        return ToQImage(*framed).scaled(maxWidth, maxHeight, Qt::KeepAspectRatio,
                                        Qt::SmoothTransformation);
    } catch (const std::exception&) {
        return {};
    }
}

QImage MenuPicture(const QImage& framed, const QString& name) {
    QImage picture(kStylePictureWidth, kStylePictureHeight, QImage::Format_RGB32);
    picture.fill(QColor(236, 233, 216));
    QPainter p(&picture);
    if (framed.isNull()) {
        p.setPen(QColor(90, 70, 40));
        p.drawRect(2, 2, 30, 20);
        p.drawRect(6, 6, 22, 12);
    } else {
        p.drawImage(
            QPoint(2 + (40 - framed.width()) / 2, (kStylePictureHeight - framed.height()) / 2),
            framed);
    }
    p.setPen(Qt::black);
    p.drawText(QRect(48, 0, kStylePictureWidth - 50, kStylePictureHeight),
               Qt::AlignLeft | Qt::AlignVCenter, name);
    return picture;
}

QImage FramedSample(StyleId style, int maxWidth, int maxHeight) {
    try {
        auto photo = std::make_unique<Bitmap>();
        FromQImage(SamplePhoto(), *photo);
        PhotoDocument document;
        document.OpenPicture(std::move(photo), "Sample", Zoom::Normal);
        document.SelectStyle(style);
        const Bitmap* framed = document.Style() == style ? document.Result() : nullptr;
        if (!framed || framed->Empty()) return {};
        return ToQImage(*framed).scaled(maxWidth, maxHeight, Qt::KeepAspectRatio,
                                        Qt::SmoothTransformation);
    } catch (const std::exception&) {
        return {};
    }
}

const std::array<QImage, kStyleCount>& StylePictures() {
    static const std::array<QImage, kStyleCount> pictures = [] {
        std::array<QImage, kStyleCount> out;
        for (const StyleInfo& info : StyleCatalog()) {
            const QImage framed = FramedSample(info.id, 40, kStylePictureHeight - 2);
            QImage& picture = out[std::size_t(info.id)];
            picture = framed.isNull() ? PlaceholderPicture(info.id)
                                      : MenuPicture(framed, DisplayName(info.id));
        }
        return out;
    }();
    return pictures;
}

} // namespace quillon
