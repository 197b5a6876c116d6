// RecipeMenu: the Frames menu's recipe items, appended after the styles and
// a separator: Save Recipe... writes what has been done to the photo as a
// recipe file, Apply Recipe... runs one on the photo, the Presets submenu
// lists the program's and the user's presets, each with a picture of the
// sample photo framed by it, and Store Frame... frames the photo for a bought
// frame. Files are asked for through Dialogs; the work is the
// document controller's, so each recipe is one undo step and a failure
// leaves the photo as it was. Errors are thrown for the menu's command edge
// to show, with the file's name and line where a recipe file is at fault.
#pragma once

#include <QImage>
#include <QObject>

#include <map>
#include <string>

class QAction;
class QMenu;
class QStyle;
class QWidget;

namespace quillon {

class DocumentController;
class StoreFrameDialog;

class RecipeMenu final : public QObject {
    Q_OBJECT
public:
    RecipeMenu(QMenu& framesMenu, DocumentController& controller, QStyle* pictureStyle,
               QWidget* window);

    QAction *saveRecipeAction, *applyRecipeAction, *storeFrameAction;
    QMenu* presetsMenu;

    void saveRecipe();
    void applyRecipe();
    // Lists the presets afresh, with their pictures (each drawn the first
    // time its file is listed); runs at every showing of the submenu.
    void fillPresets();
    void applyPreset(const std::string& file);
    // Asks for a store frame and applies it.
    void storeFrame();
    // Made at its first showing and kept for the run.
    StoreFrameDialog* storeFrameDialog() const { return storeDialog_; }

private:
    DocumentController& controller_;
    QWidget* window_;
    std::map<std::string, QImage> pictures_;
    StoreFrameDialog* storeDialog_ = nullptr;
};

} // namespace quillon
