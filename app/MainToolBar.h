// The main window's tool bar: Open, Save, Undo, Redo, Apply Frame and Zoom
// to Fit, the menus' own actions with an icon each (the desktop theme's,
// else a drawn one) and a short text beside it.
#pragma once

class QAction;
class QMainWindow;
class QToolBar;

namespace quillon {

struct ToolBarActions {
    QAction* open = nullptr;
    QAction* save = nullptr;
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* applyFrame = nullptr;
    QAction* zoomToFit = nullptr;
};

QToolBar* AddMainToolBar(QMainWindow& window, const ToolBarActions& actions);

} // namespace quillon
