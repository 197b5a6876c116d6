// StatusPanel: the main window's status bar. It names the picture's file,
// gives the shown picture's size in pixels and at the print size the edit
// bar's lengths refer to, the zoom, and the size of the selection while
// there is one. The texts are worked out by StatusOf, without a widget.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

namespace quillon {

class DocumentController;

struct StatusTexts {
    QString file;      // "lake.jpg"; empty without a picture
    QString size;      // "4000 × 3000 pixels, 6 × 4.5 in at 667 dpi"
    QString zoom;      // "Fit 23%", "200%"
    QString selection; // "Selection 120 × 80 pixels"; empty without one
};

StatusTexts StatusOf(const DocumentController& controller);

class StatusPanel final : public QObject {
    Q_OBJECT
public:
    StatusPanel(QStatusBar& bar, DocumentController& controller);
    void update();

    QLabel* fileLabel = nullptr;
    QLabel* sizeLabel = nullptr;
    QLabel* zoomLabel = nullptr;
    QLabel* selectionLabel = nullptr;

private:
    DocumentController& controller_;
};

} // namespace quillon
