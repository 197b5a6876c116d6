// AboutDialog: the about box. A borderless window showing the program's
// picture with its version text; it closes when the picture is clicked, and
// once by itself 3000 ms after its creation, so that the box shown at
// start-up goes away on its own while one opened later from "&About" stays
// until clicked.
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QTimer>

class QLabel;

namespace quillon {

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The picture the box shows.
    static QImage makePicture();
    // What the box says besides the name: the version, the licence and
    // the version of Qt the program runs on.
    static QStringList aboutLines();

    QLabel* pictureLabel = nullptr;
    QTimer closeTimer;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace quillon
