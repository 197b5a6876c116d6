// MainWindow: the program's main window. It holds the menus, the frame edit
// bar and the document area with the image window, and owns the document
// controller, the system clipboard it copies to, and the program's dialogs
// (about, settings, resize, print preview, decoration picker, scanner). The
// window asks the questions a command needs (file names, sizes, overwriting)
// and runs the command on the controller; what the menus enable and what
// the captions say follow the controller's signals. Every command runs at an
// edge where an exception becomes the error box and the program goes on.
#pragma once

#include "app/WindowLayout.h"
#include "frames/StyleCatalog.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace quillon {

class AboutDialog;
class BusyCursor;
class DecorationPicker;
class DocumentController;
class FrameEditBar;
class FrameStackPanel;
class ImageWindow;
class PictureMenuStyle;
class PrintPreviewDialog;
class RecipeMenu;
class ResizeDialog;
class Scanner;
class SettingsDialog;
class StylePictureRenderer;
class StatusPanel;
class SystemClipboard;
class ZoomMenu;

// The file the command line names (quillon photo.jpg), made absolute
// against the current folder; none when it names none.
std::optional<std::string> StartupFile(const QStringList& arguments);
// Every file the command line names, made absolute, in order; each opens
// in a main window of its own.
std::vector<std::string> StartupFiles(const QStringList& arguments);

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    // The program's name, the main window's caption without a file.
    static constexpr const char* kCaption = "Quillon";

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The configuration file the window bounds are written to (see
    // ConfigLocation for where it is read from).
    static std::string configFileName();

    DocumentController& controller() { return *controller_; }
    ImageWindow* imageWindow() const;
    FrameEditBar* editBar() const { return editBar_; }
    DecorationPicker* decorationPicker() const { return picker_; }
    QMdiArea* documentArea() const { return mdiArea_; }
    AboutDialog& aboutDialog() { return *about_; }
    SettingsDialog& settingsDialog() { return *settings_; }
    // Made at their first showing and kept for the run.
    ResizeDialog* resizeDialog() const { return resizeDialog_; }
    PrintPreviewDialog* printDialog() const { return printDialog_; }
    Scanner& scanner() { return *scanner_; }
    const WindowMetrics& metrics() const { return metrics_; }
    // Whether the first showing's start-up work has run.
    bool startupDone() const { return startupDone_; }

    // Opened once the first showing's start-up work has run.
    void setStartupFile(const std::string& fileName) { startupFile_ = fileName; }
    // Whether the first showing shows the about box (the program's first
    // window does; the others a command line opens beside it do not).
    void setAboutAtStart(bool shown) { aboutAtStart_ = shown; }
    // The hint the empty document area shows while no picture is open.
    QLabel* emptyHint() const { return emptyHint_; }

    QMenu *fileMenu, *framesMenu, *editMenu, *imageMenu, *viewMenu, *helpMenu;
    QAction *openAction, *selectSourceAction, *scanAction, *saveAsAction, *printerSetupAction,
        *printAction, *settingsAction, *exitAction;
    // File > Save: back to the photo's own file, else as Save As.
    QAction* saveAction;
    QAction *undoAction, *applyFrameAction, *cropAction, *resizeAction, *copyAction, *pasteAction;
    QAction* redoAction;
    // File > Open Recent: the files last opened, newest first.
    QMenu* recentMenu;
    QAction *grayScaleAction, *negativeAction, *rotateRightAction, *rotateLeftAction,
        *rotate180Action;
    QAction *zoomNormalAction, *zoom75Action, *zoom50Action, *zoom25Action, *zoom10Action;
    QAction *zoomFitAction, *zoomInAction, *zoomOutAction, *zoom200Action, *zoom400Action;
    QAction *aboutAction, *helpAction;
    // View > Frame Stack: shows or hides the Frames panel.
    QAction* frameStackAction;
    // The Frames menu's items, in menu order.
    const std::array<QAction*, kStyleCount>& styleActions() const { return styleActions_; }
    QAction* styleAction(StyleId style) const;
    // The recipe items after the styles in the Frames menu.
    RecipeMenu* recipeMenu() const { return recipeMenu_; }
    // Draws the Frames menu's pictures from the open photo.
    StylePictureRenderer* stylePictureRenderer() const { return stylePictureRenderer_; }
    StatusPanel* statusPanel() const { return statusPanel_; }
    FrameStackPanel* frameStackPanel() const { return frameStackPanel_; }
    QToolBar* mainToolBar() const { return toolBar_; }

    // Runs a command at its edge: an exception becomes the error box.
    void runCommand(const std::function<void()>& command);
    // Before the picture goes (quit, close, open, paste, scan): while it has
    // changes, asks whether to save them. True when the action may go on:
    // nothing to save, Discard, or Save with the picture saved.
    bool confirmDiscard();

public slots:
    void openPicture();
    // Opens a picture file, asking first about unsaved changes.
    void openFile(const std::string& fileName);
    // Pastes the clipboard's picture, asking first about unsaved changes.
    void pastePicture();
    // Runs Save As; true when the picture was written.
    bool saveAs();
    // Writes the picture back to the file it came from when that file has a
    // format the program writes, asking once before replacing the original
    // photo; otherwise runs Save As. True when the picture was written.
    bool save();
    void print();
    void resizePicture();
    void selectScanSource();
    void scan();
    void printerSetup();
    void showSettings();
    void showAbout();
    void showHelp();
    void toggleDecorationPicker();
    void closeDecorationPicker();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildFramesMenu();
    void buildViewMenu();
    // The tool bar and the status bar.
    void buildBars();
    // The Frames dock and its View menu item.
    void buildFrameStackPanel();
    // Tells the controller the room the document area has for a picture.
    void reportViewRoom();
    // The shown picture's size in the view's (logical) pixels.
    QSize shownPictureSize() const;
    void followController();
    // The Frames menu (and the image window's pop-up, which shares its
    // items) shows the open photo in each style once it is drawn.
    void followStylePictures();
    void startUp();
    void storeBounds();
    void centreAndShowModal(QDialog& dialog);

    // The views of the controller's state.
    void showNewImageWindow();
    void dropImageWindow();
    // Fits the image window round the picture, inside the main window.
    void adjustImageWindow();
    void updateActions();
    void updateTitles();
    void updateUndo();
    void updateRecentMenu();
    // Puts an opened file first in Open Recent.
    void rememberRecentFile(const std::string& fileName);
    // Writes the picture to name, showing a failure; true when written.
    bool writePicture(const std::string& name);

    std::unique_ptr<SystemClipboard> clipboard_;
    std::unique_ptr<DocumentController> controller_;
    std::unique_ptr<AboutDialog> about_;
    std::unique_ptr<SettingsDialog> settings_;
    std::unique_ptr<BusyCursor> busyCursor_;
    std::array<QAction*, kStyleCount> styleActions_{};
    FrameEditBar* editBar_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QPointer<ImageWindow> imageWindow_;
    DecorationPicker* picker_ = nullptr;
    PictureMenuStyle* pictureStyle_ = nullptr;
    RecipeMenu* recipeMenu_ = nullptr;
    StylePictureRenderer* stylePictureRenderer_ = nullptr;
    ZoomMenu* zoomMenu_ = nullptr;
    StatusPanel* statusPanel_ = nullptr;
    FrameStackPanel* frameStackPanel_ = nullptr;
    // The Frames panel's style pictures, drawn when first shown.
    std::array<QIcon, kStyleCount> stackIcons_;
    // The groups the stack had at its last change.
    std::size_t shownGroupCount_ = 0;
    QToolBar* toolBar_ = nullptr;
    ResizeDialog* resizeDialog_ = nullptr;
    PrintPreviewDialog* printDialog_ = nullptr;
    Scanner* scanner_ = nullptr;
    WindowMetrics metrics_;
    bool startupDone_ = false;
    std::optional<std::string> startupFile_;
    bool aboutAtStart_ = true;
    QLabel* emptyHint_ = nullptr;
};

} // namespace quillon
