#include "app/StylePictures.h"

#include "app/QtBitmap.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"

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

// Puts the in-process clipboard in place for the duration of a rendering.
class TPrivateClipboard {
public:
    TPrivateClipboard() : previous_(&Clipboard()) { SetClipboard(nullptr); }
    ~TPrivateClipboard() { SetClipboard(previous_); }

private:
    TClipboard* previous_;
};

QImage PlaceholderPicture(int style) {
    QImage image(kStylePictureWidth, kStylePictureHeight, QImage::Format_RGB32);
    image.fill(QColor(236, 233, 216));
    QPainter p(&image);
    p.setPen(QColor(90, 70, 40));
    p.drawRect(2, 2, 30, 20);
    p.drawRect(6, 6, 22, 12);
    p.setPen(Qt::black);
    p.drawText(QRect(40, 0, kStylePictureWidth - 42, kStylePictureHeight),
               Qt::AlignLeft | Qt::AlignVCenter,
               QCoreApplication::translate("Quillon", StyleName(style)));
    return image;
}

} // namespace

const char* StyleName(int style) {
    static const char* const names[kStyleCount] = {
        "Corner Frame", "Matte Frame",  "Jagged Edges", "Oval",         "Diamond",
        "Grayscale",    "Bubble Frame", "3D Button",    "Ornate Frame", "Drop Shadow",
        "Mask",         "Overlay",      "Box"};
    return style >= 0 && style < kStyleCount ? names[style] : "";
}

QImage FramedSample(int style, int maxWidth, int maxHeight) {
    try {
        TPrivateClipboard privateClipboard;
        Bitmap photo;
        FromQImage(SamplePhoto(), photo);
        Clipboard().SetBitmap(photo);
        TButtonBar document(true);
        document.LoadPicture("Clipboard", nullptr, 0, true);
        document.SelectStyle(style, 0);
        float scale = 1.0f;
        const Bitmap* framed = document.GetFramedPicture(scale);
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
        for (int style = 0; style < kStyleCount; ++style) {
            const QImage framed = FramedSample(style, 40, kStylePictureHeight - 2);
            if (framed.isNull()) {
                out[std::size_t(style)] = PlaceholderPicture(style);
                continue;
            }
            QImage image(kStylePictureWidth, kStylePictureHeight, QImage::Format_RGB32);
            image.fill(QColor(236, 233, 216));
            QPainter p(&image);
            p.drawImage(
                QPoint(2 + (40 - framed.width()) / 2, (kStylePictureHeight - framed.height()) / 2),
                framed);
            p.setPen(Qt::black);
            p.drawText(QRect(48, 0, kStylePictureWidth - 50, kStylePictureHeight),
                       Qt::AlignLeft | Qt::AlignVCenter,
                       QCoreApplication::translate("Quillon", StyleName(style)));
            out[std::size_t(style)] = image;
        }
        return out;
    }();
    return pictures;
}

} // namespace quillon
