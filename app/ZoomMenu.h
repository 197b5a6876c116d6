// ZoomMenu: the View menu's zoom items. Zoom In and Zoom Out step through
// the fixed scales (Ctrl++, Ctrl+-), Fit to Window (Ctrl+0) fits the picture
// into the document area, and one item per fixed scale shows it (Normal
// Size is Ctrl+1). The check marks follow the controller: Fit to Window while
// fitting, else the item of the current scale, if it has one.
#pragma once

#include <QObject>

#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;

namespace quillon {

class DocumentController;

class ZoomMenu final : public QObject {
    Q_OBJECT
public:
    ZoomMenu(QMenu& menu, DocumentController& controller);

    QAction* zoomInAction = nullptr;
    QAction* zoomOutAction = nullptr;
    QAction* fitAction = nullptr;
    // The item that shows scale, or null.
    QAction* stepAction(double scale) const;
    // Puts the check marks where the controller's zoom is.
    void updateChecks();

private:
    DocumentController& controller_;
    QActionGroup* group_ = nullptr;
    std::vector<std::pair<double, QAction*>> steps_;
};

} // namespace quillon
