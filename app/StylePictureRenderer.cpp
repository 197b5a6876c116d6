#include "app/StylePictureRenderer.h"

#include "app/StylePictures.h"
#include "canvas/Bitmap.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>

namespace quillon {

StylePictureRenderer::StylePictureRenderer(QObject* parent) : QObject(parent) {}

// A worker still running finishes on its own: it holds its photo and
// reports to a watcher that went with this object.
StylePictureRenderer::~StylePictureRenderer() = default;

void StylePictureRenderer::render(const Bitmap& photo) {
    std::shared_ptr<const Bitmap> small = SmallCopy(photo, kPhotoSide, kPhotoSide);
    const int generation = ++generation_;
    ++running_;
    auto* watcher = new QFutureWatcher<std::array<QImage, kStyleCount>>(this);
    connect(watcher, &QFutureWatcher<std::array<QImage, kStyleCount>>::finished, this,
            [this, watcher, generation] {
                --running_;
                watcher->deleteLater();
                if (generation != generation_) return; // a newer photo is on its way
                // The names are drawn here: text is drawn on the GUI thread.
                const auto pictures = MenuPictures(watcher->result());
                emit picturesReady(QList<QImage>(pictures.begin(), pictures.end()));
            });
    watcher->setFuture(QtConcurrent::run([small] { return FramedMenuPhotos(*small); }));
}

} // namespace quillon
