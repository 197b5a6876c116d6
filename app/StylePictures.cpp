#include "app/StylePictures.h"

#include "app/QtBitmap.h"
#include "document/PhotoDocument.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
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

QImage FramedPhoto(const Bitmap& photo, StyleId style, int maxWidth, int maxHeight) {
    try {
        auto copy = std::make_unique<Bitmap>();
        copy->Assign(photo);
        PhotoDocument document;
        document.OpenPicture(std::move(copy), "Sample", Zoom::Normal);
        document.SelectStyle(style);
        const Bitmap* framed = document.Style() == style ? document.Result() : nullptr;
        if (!framed || framed->Empty()) return {};
        return ToQImage(*framed).scaled(maxWidth, maxHeight, Qt::KeepAspectRatio,
                                        Qt::SmoothTransformation);
    } catch (const std::exception&) {
        return {};
    }
}

QImage FramedSample(StyleId style, int maxWidth, int maxHeight) {
    try {
        Bitmap photo;
        FromQImage(SamplePhoto(), photo);
        return FramedPhoto(photo, style, maxWidth, maxHeight);
    } catch (const std::exception&) {
        return {};
    }
}

std::array<QImage, kStyleCount> FramedMenuPhotos(const Bitmap& photo) {
    std::array<QImage, kStyleCount> out;
    for (const StyleInfo& info : StyleCatalog())
        out[std::size_t(info.id)] = FramedPhoto(photo, info.id, 40, kStylePictureHeight - 2);
    return out;
}

std::array<QImage, kStyleCount> MenuPictures(const std::array<QImage, kStyleCount>& framed) {
    std::array<QImage, kStyleCount> out;
    for (const StyleInfo& info : StyleCatalog()) {
        const QImage& f = framed[std::size_t(info.id)];
        out[std::size_t(info.id)] =
            f.isNull() ? PlaceholderPicture(info.id) : MenuPicture(f, DisplayName(info.id));
    }
    return out;
}

std::unique_ptr<Bitmap> SmallCopy(const Bitmap& photo, int maxWidth, int maxHeight) {
    if (photo.Empty() || maxWidth <= 0 || maxHeight <= 0) return std::make_unique<Bitmap>();
    const double scale =
        std::min({1.0, double(maxWidth) / photo.Width(), double(maxHeight) / photo.Height()});
    const int w = std::max(1, int(photo.Width() * scale + 0.5));
    const int h = std::max(1, int(photo.Height() * scale + 0.5));
    auto small = std::make_unique<Bitmap>(w, h);
    // Each pixel is the mean of up to 4 x 4 samples spread over the photo
    // pixels it covers: smooth enough for a menu picture, and a few hundred
    // thousand reads whatever the photo's size.
    constexpr int kGrid = 4;
    for (int y = 0; y < h; ++y) {
        const long long top = (long long)y * photo.Height() / h;
        const long long bottom = std::max(top + 1, (long long)(y + 1) * photo.Height() / h);
        for (int x = 0; x < w; ++x) {
            const long long left = (long long)x * photo.Width() / w;
            const long long right = std::max(left + 1, (long long)(x + 1) * photo.Width() / w);
            int r = 0, g = 0, b = 0, n = 0;
            for (int j = 0; j < kGrid; ++j) {
                const int sy = int(top + (bottom - top) * (2 * j + 1) / (2 * kGrid));
                for (int i = 0; i < kGrid; ++i) {
                    const int sx = int(left + (right - left) * (2 * i + 1) / (2 * kGrid));
                    const Color c = photo.Pixel(sx, sy);
                    r += GetRValue(c);
                    g += GetGValue(c);
                    b += GetBValue(c);
                    ++n;
                }
            }
            small->SetPixel(x, y, RGB((r + n / 2) / n, (g + n / 2) / n, (b + n / 2) / n));
        }
    }
    return small;
}

const std::array<QImage, kStyleCount>& StylePictures() {
    static const std::array<QImage, kStyleCount> pictures = [] {
        Bitmap photo;
        try {
            FromQImage(SamplePhoto(), photo);
        } catch (const std::exception&) {
        }
        return MenuPictures(FramedMenuPhotos(photo));
    }();
    return pictures;
}

} // namespace quillon
