// StylePictureRenderer: the Frames menu's pictures drawn from the user's own
// photo. render() takes a small copy of the photo on the calling (GUI)
// thread, which costs a few hundred thousand pixel reads whatever the
// photo's size, and frames it in all thirteen styles on a worker thread;
// picturesReady then hands the menu pictures over on the GUI thread. A
// render for a newer photo supersedes one still running: only the newest
// is delivered. A style the engine cannot draw gets its plain picture.
#pragma once

#include "frames/StyleCatalog.h"

#include <QImage>
#include <QList>
#include <QObject>

namespace quillon {

class Bitmap;

class StylePictureRenderer final : public QObject {
    Q_OBJECT
public:
    explicit StylePictureRenderer(QObject* parent = nullptr);
    ~StylePictureRenderer() override;

    // The longest side of the photo the pictures are drawn from.
    static constexpr int kPhotoSide = 96;

    void render(const Bitmap& photo);
    // Whether a render is still under way.
    bool busy() const { return running_ > 0; }

signals:
    // The 174 x 25 picture of every style, indexed by StyleId.
    void picturesReady(const QList<QImage>& pictures);

private:
    int generation_ = 0;
    int running_ = 0;
};

} // namespace quillon
