// FrameStackPanel: the Frames dock beside the picture. It lists the frame
// groups of the controller's stack, the top one first as they lie on the
// photo, with the frame in progress above them: each row has its style's
// small picture and name, a check box that shows or hides the group, and a
// tooltip with its settings. Selecting a row loads its group into the edit
// bar; rows are dragged to reorder; Delete removes the selected group, and
// the context menu duplicates, moves and removes. Every change goes through
// the controller and comes back as its stackChanged signal.
#pragma once

#include "frames/StyleCatalog.h"

#include <QDockWidget>
#include <QIcon>

#include <cstddef>
#include <functional>
#include <optional>

class QAction;
class QListWidget;

namespace quillon {

class DocumentController;
struct FrameGroup;

// A group's settings as a tooltip: the style's name, then each setting
// given, with the edit bar's caption.
QString GroupSettingsText(const FrameGroup& group, bool visible);

class FrameStackPanel final : public QDockWidget {
    Q_OBJECT
public:
    // styleIcon gives a style's small picture; command runs a change at the
    // window's command edge (an exception becomes the error box).
    FrameStackPanel(DocumentController& controller, std::function<QIcon(StyleId)> styleIcon,
                    std::function<void(const std::function<void()>&)> command,
                    QWidget* parent = nullptr);

    QListWidget* list() const { return list_; }
    // The group a row shows; none for the frame in progress.
    std::optional<std::size_t> groupOfRow(int row) const;
    int rowOfGroup(std::size_t group) const;

    QAction *duplicateAction, *moveUpAction, *moveDownAction, *removeAction;

public slots:
    // Rebuilds the rows from the controller.
    void refresh();

private:
    // The group of the selected row, if it is one.
    std::optional<std::size_t> selectedGroup() const;
    void updateActions();
    void rowChosen();
    void rowChecked(int row);
    void rowDropped();

    DocumentController& controller_;
    std::function<QIcon(StyleId)> styleIcon_;
    std::function<void(const std::function<void()>&)> command_;
    QListWidget* list_;
    // Whether the top row is the frame in progress.
    bool progressRow_ = false;
    bool refreshing_ = false;
};

} // namespace quillon
