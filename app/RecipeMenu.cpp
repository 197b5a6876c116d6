#include "app/RecipeMenu.h"

#include "app/DocumentController.h"
#include "app/QtBitmap.h"
#include "app/StylePictures.h"
#include "app/WindowLayout.h"
#include "app/dialogs/Dialogs.h"
#include "app/dialogs/StoreFrameDialog.h"
#include "document/FramingRecord.h"
#include "document/PhotoDocument.h"
#include "document/Presets.h"
#include "document/RecipeFile.h"
#include "formats/DataPaths.h"

#include <QAction>
#include <QMenu>
#include <QStyle>

#include <filesystem>

namespace quillon {

namespace {

const std::vector<FileFilter>& RecipeFilters() {
    static const std::vector<FileFilter> filters = {{"Recipes", "*.toml"}, {"All Files", "*.*"}};
    return filters;
}

bool FolderExists(const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec);
}

} // namespace

RecipeMenu::RecipeMenu(QMenu& framesMenu, DocumentController& controller, QStyle* pictureStyle,
                       QWidget* window)
    : QObject(&framesMenu), controller_(controller), window_(window) {
    setObjectName("recipeMenu");
    framesMenu.addSeparator();
    auto item = [&](const char* name, const QString& caption, const QString& tip,
                    void (RecipeMenu::*command)()) {
        QAction* action = framesMenu.addAction(caption);
        action->setObjectName(name);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this,
                [this, command] { RunCommand(window_, [this, command] { (this->*command)(); }); });
        return action;
    };
    saveRecipeAction = item("saveRecipeAction", tr("Save Reci&pe..."),
                            tr("Write the framing done so far, with its units, as a recipe file"),
                            &RecipeMenu::saveRecipe);
    applyRecipeAction = item("applyRecipeAction", tr("Appl&y Recipe..."),
                             tr("Frame the photo by a recipe file"), &RecipeMenu::applyRecipe);
    presetsMenu = framesMenu.addMenu(tr("Pre&sets"));
    presetsMenu->setObjectName("presetsMenu");
    presetsMenu->menuAction()->setObjectName("presetsMenuAction");
    presetsMenu->menuAction()->setToolTip(tr("Frame the photo by one of the presets"));
    presetsMenu->setToolTipsVisible(true);
    // The presets are drawn as pictures, as the styles are.
    if (pictureStyle) presetsMenu->setStyle(pictureStyle);
    connect(presetsMenu, &QMenu::aboutToShow, this,
            [this] { RunCommand(window_, [this] { fillPresets(); }); });
    storeFrameAction =
        item("storeFrameAction", tr("S&tore Frame..."),
             tr("Crop the photo to a bought frame's mat opening and mat it to the frame's size"),
             &RecipeMenu::storeFrame);
}

void RecipeMenu::storeFrame() {
    const PhotoDocument* document = controller_.document();
    if (!document || !document->HasPhoto()) return;
    if (!storeDialog_) storeDialog_ = new StoreFrameDialog(window_);
    storeDialog_->prepare(ToQImage(controller_.photo()));
    if (Dialogs::current().runModal(*storeDialog_) != QDialog::Accepted) return;
    controller_.applyRecipe(storeDialog_->recipe());
}

void RecipeMenu::saveRecipe() {
    if (!controller_.hasDocument()) return;
    FileRequest request;
    request.title = "Save Recipe";
    // The user's preset folder, when there is one: a recipe saved there is
    // a preset.
    request.initialDir =
        FolderExists(UserPresetFolder()) ? UserPresetFolder() : controller_.folders().saveDir;
    request.filters = RecipeFilters();
    request.defaultExtension = ".toml";
    const auto chosen = Dialogs::current().savePicture(window_, request);
    if (!chosen) return;
    std::error_code ec;
    if (std::filesystem::exists(*chosen, ec) &&
        Dialogs::current().messageBox(
            window_, "Confirm", "File " + FilePart(*chosen) + " already exists, overwrite?",
            MessageIcon::Question, MessageButtons::YesNo) != MessageResult::Yes)
        return;
    controller_.saveRecipe(*chosen);
}

void RecipeMenu::applyRecipe() {
    if (!controller_.hasDocument()) return;
    FileRequest request;
    request.title = "Apply Recipe";
    request.initialDir =
        FolderExists(UserPresetFolder()) ? UserPresetFolder() : controller_.folders().openDir;
    request.filters = RecipeFilters();
    const auto chosen = Dialogs::current().openFile(window_, request);
    if (!chosen) return;
    controller_.applyRecipe(LoadRecipe(*chosen));
}

void RecipeMenu::fillPresets() {
    presetsMenu->clear();
    const std::vector<PresetEntry> presets = ListPresets(StartFolder(), UserPresetFolder());
    for (const PresetEntry& preset : presets) {
        const QString name = QString::fromStdString(preset.name);
        QImage& picture = pictures_[preset.file];
        if (picture.isNull()) {
            QImage framed;
            try {
                Recipe recipe = LoadRecipe(preset.file);
                ResolveRecipePatterns(recipe);
                framed = FramedSampleByRecipe(recipe, 40, kStylePictureHeight - 2);
            } catch (const std::exception&) {
                // A preset that does not read still gets its item: choosing
                // it says what is wrong.
            }
            picture = MenuPicture(framed, name);
        }
        QAction* action = presetsMenu->addAction(QIcon(QPixmap::fromImage(picture)), name);
        action->setObjectName("preset_" + name);
        action->setToolTip(preset.user ? tr("%1 (yours)").arg(name) : name);
        const std::string file = preset.file;
        connect(action, &QAction::triggered, this,
                [this, file] { RunCommand(window_, [this, file] { applyPreset(file); }); });
    }
    if (presets.empty()) {
        QAction* none = presetsMenu->addAction(tr("(no presets)"));
        none->setObjectName("noPresetsAction");
        none->setEnabled(false);
    }
}

void RecipeMenu::applyPreset(const std::string& file) {
    if (!controller_.hasDocument()) return;
    controller_.applyRecipe(LoadRecipe(file));
}

} // namespace quillon
