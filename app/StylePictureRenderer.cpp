#include "app/StylePictureRenderer.h"

#include "app/StylePictures.h"
#include "canvas/Bitmap.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>

#include <sys/resource.h>
#include <unistd.h>

namespace quillon {

namespace {

// The thread the menu's pictures are drawn on. It runs at the lowest
// priority (nice 19): when the view or an edit wants both cores it gets
// almost none of them, yet it is never starved on a busy machine. It goes
// with the application.
QThreadPool* MenuPicturePool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool(QCoreApplication::instance());
        p->setMaxThreadCount(1);
        return p;
    }();
    return pool;
}

// Lowers the calling thread's priority to the least; a failure leaves it.
void RunAtLowestPriority() {
    setpriority(PRIO_PROCESS, id_t(gettid()), 19);
}

} // namespace

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
    watcher->setFuture(QtConcurrent::run(MenuPicturePool(), [small] {
        RunAtLowestPriority();
        return FramedMenuPhotos(*small);
    }));
}

} // namespace quillon
