#include "app/MainWindow.h"

#include "app/BusyCursor.h"
#include "app/ConfigLocation.h"
#include "app/DialogMemory.h"
#include "app/DocumentController.h"
#include "app/FrameEditBar.h"
#include "app/FrameStackPanel.h"
#include "app/ImageWindow.h"
#include "app/MainToolBar.h"
#include "app/PictureMenuStyle.h"
#include "app/RecipeMenu.h"
#include "app/SettingsStore.h"
#include "app/StatusPanel.h"
#include "app/StylePictureRenderer.h"
#include "app/StylePictures.h"
#include "app/SystemClipboard.h"
#include "app/ZoomMenu.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/DecorationPicker.h"
#include "app/dialogs/Dialogs.h"
#include "app/dialogs/ResizeDialog.h"
#include "app/dialogs/SettingsDialog.h"
#include "app/print/PrintPreviewDialog.h"
#include "app/scan/Scanner.h"
#include "document/PhotoDocument.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <vector>

namespace quillon {

namespace {

// The local files among dropped data, in the order they were dragged.
std::vector<std::string> DroppedFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    return files;
}

} // namespace

std::optional<std::string> StartupFile(const QStringList& arguments) {
    const std::vector<std::string> files = StartupFiles(arguments);
    if (files.empty()) return std::nullopt;
    return files.front();
}

std::vector<std::string> StartupFiles(const QStringList& arguments) {
    std::vector<std::string> files;
    for (qsizetype i = 1; i < arguments.size(); ++i)
        if (!arguments[i].isEmpty())
            files.push_back(QFileInfo(arguments[i]).absoluteFilePath().toStdString());
    return files;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    clipboard_ = std::make_unique<SystemClipboard>();
    controller_ = std::make_unique<DocumentController>(*clipboard_);
    controller_->setWindowSizeSource(
        [this] { return imageWindow_ ? imageWindow_->size() : QSize(); });
    setWindowTitle(kCaption);
    setObjectName("mainWindow");

    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    editBar_ = new FrameEditBar(*controller_, centre);
    // The edit bar spans the window; its controls are laid out from the left.
    editBar_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    mdiArea_ = new QMdiArea(centre);
    mdiArea_->setBackground(palette().color(QPalette::Dark));
    layout->addWidget(editBar_);
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(centre);
    // What to do, shown in the middle of the empty document area.
    emptyHint_ = new QLabel(tr("Open a photo (Ctrl+O), paste one (Ctrl+V) or drop it here"),
                            mdiArea_->viewport());
    emptyHint_->setObjectName("emptyHint");
    emptyHint_->setAlignment(Qt::AlignCenter);
    emptyHint_->setWordWrap(true);
    emptyHint_->setForegroundRole(QPalette::BrightText);
    auto* hintLayout = new QVBoxLayout(mdiArea_->viewport());
    hintLayout->addWidget(emptyHint_, 0, Qt::AlignCenter);
    setAcceptDrops(true);
    pictureStyle_ = new PictureMenuStyle;
    pictureStyle_->setParent(this);
    buildMenus();
    buildBars();
    buildFrameStackPanel();
    mdiArea_->installEventFilter(this);

    picker_ = new DecorationPicker(*controller_, this);
    about_ = std::make_unique<AboutDialog>();
    settings_ = std::make_unique<SettingsDialog>(*controller_);
    scanner_ = new Scanner(this);

    resize(609, 349);
    move(252, 213);
    DesktopBounds bounds;
    {
        QSettings config(QString::fromStdString(CurrentConfigLocation().readFile),
                         QSettings::IniFormat);
        config.beginGroup("Desktop");
        bounds.left = config.value("Left", 0).toInt();
        move(bounds.left, y());
        bounds.top = config.value("Top", 0).toInt();
        move(x(), bounds.top);
        bounds.width = config.value("Width", 640).toInt();
        resize(bounds.width, height());
        bounds.height = config.value("Height", 480).toInt();
        resize(width(), bounds.height);
    }
    if (StartsMaximised(bounds)) setWindowState(windowState() | Qt::WindowMaximized);

    metrics_.captionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    metrics_.borderX = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    metrics_.borderY = metrics_.borderX;

    followController();
    followStylePictures();
    updateActions();
}

MainWindow::~MainWindow() {
    // The views go before the controller they observe.
    dropImageWindow();
    delete picker_;
    delete editBar_;
}

std::string MainWindow::configFileName() {
    return CurrentConfigLocation().writeFile;
}

// --- Menus ------------------------------------------------------------------------

void MainWindow::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption,
                       const std::function<void()>& command = nullptr) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if (command)
            connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        return action;
    };
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    DocumentController& c = *controller_;

    fileMenu = menu("fileMenu", tr("&File"));
    openAction = item(fileMenu, "openAction", tr("&Open.."), [this] { openPicture(); });
    openAction->setShortcut(QKeySequence::Open);
    recentMenu = fileMenu->addMenu(tr("Open &Recent"));
    recentMenu->setObjectName("recentMenu");
    updateRecentMenu();
    selectSourceAction = item(fileMenu, "selectSourceAction", tr("S&elect Scan Source"),
                              [this] { selectScanSource(); });
    scanAction = item(fileMenu, "scanAction", tr("S&can"), [this] { scan(); });
    scanAction->setEnabled(false);
    saveAction = item(fileMenu, "saveAction", tr("&Save"), [this] { save(); });
    saveAction->setShortcut(QKeySequence::Save);
    saveAsAction = item(fileMenu, "saveAsAction", tr("Save &As.."), [this] { saveAs(); });
    saveAsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    fileMenu->addSeparator();
    printerSetupAction =
        item(fileMenu, "printerSetupAction", tr("P&rinter Setup.."), [this] { printerSetup(); });
    printAction = item(fileMenu, "printAction", tr("&Print.."), [this] { print(); });
    printAction->setShortcut(QKeySequence::Print);
    fileMenu->addSeparator();
    settingsAction =
        item(fileMenu, "settingsAction", tr("Settin&gs.."), [this] { showSettings(); });
    fileMenu->addSeparator();
    exitAction = item(fileMenu, "exitAction", tr("&Exit"), [this] { close(); });
    exitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    framesMenu = menu("framesMenu", tr("F&rames"));
    buildFramesMenu();

    editMenu = menu("editMenu", tr("&Edit"));
    undoAction = item(editMenu, "undoAction", tr("&Undo"), [&c] { c.undo(); });
    undoAction->setShortcut(QKeySequence::Undo);
    redoAction = item(editMenu, "redoAction", tr("&Redo"), [&c] { c.redo(); });
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    applyFrameAction =
        item(editMenu, "applyFrameAction", tr("&Apply Frame"), [&c] { c.applyFrame(); });
    cropAction = item(editMenu, "cropAction", tr("&Crop Selection"), [&c] { c.crop(); });
    resizeAction = item(editMenu, "resizeAction", tr("&Resize"), [this] { resizePicture(); });
    editMenu->addSeparator();
    copyAction = item(editMenu, "copyAction", tr("&Copy Image To Clipboard"), [&c] { c.copy(); });
    copyAction->setShortcut(QKeySequence::Copy);
    pasteAction = item(editMenu, "pasteAction", tr("&Paste Image From Clipboard"),
                       [this] { pastePicture(); });
    pasteAction->setShortcut(QKeySequence::Paste);

    imageMenu = menu("imageMenu", tr("&Image"));
    grayScaleAction =
        item(imageMenu, "grayScaleAction", tr("&Gray Scale"), [&c] { c.grayScale(); });
    negativeAction = item(imageMenu, "negativeAction", tr("&Negative"), [&c] { c.negative(); });
    rotateRightAction =
        item(imageMenu, "rotateRightAction", tr("Rotate &90 Right"), [&c] { c.rotateRight(); });
    rotateLeftAction =
        item(imageMenu, "rotateLeftAction", tr("Rotate 90 &Left"), [&c] { c.rotateLeft(); });
    rotate180Action =
        item(imageMenu, "rotate180Action", tr("&Rotate &180"), [&c] { c.rotate180(); });

    viewMenu = menu("viewMenu", tr("&View"));
    buildViewMenu();

    helpMenu = menu("helpMenu", tr("&Help"));
    aboutAction = item(helpMenu, "aboutAction", tr("&About"), [this] { showAbout(); });
    helpAction = item(helpMenu, "helpAction", tr("&Help"), [this] { showHelp(); });
    helpAction->setShortcut(QKeySequence::HelpContents);
}

void MainWindow::buildFramesMenu() {
    framesMenu->setStyle(pictureStyle_);
    const auto& pictures = StylePictures();
    const std::array<StyleId, kStyleCount> order = StylesInMenuOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        const StyleInfo& info = StyleInfoOf(order[i]);
        // The menu shows the style's picture alone; the name is there for
        // whoever cannot see the picture, and as the tooltip.
        const QString name = tr(info.displayName);
        QAction* action =
            framesMenu->addAction(QIcon(QPixmap::fromImage(pictures[std::size_t(info.id)])), name);
        action->setObjectName(QString::fromLatin1(info.cliName) + "StyleAction");
        action->setToolTip(name);
        const StyleId id = info.id;
        connect(action, &QAction::triggered, this,
                [this, id] { runCommand([this, id] { controller_->chooseStyle(id); }); });
        styleActions_[i] = action;
    }
    recipeMenu_ = new RecipeMenu(*framesMenu, *controller_, pictureStyle_, this);
}

void MainWindow::buildViewMenu() {
    zoomMenu_ = new ZoomMenu(*viewMenu, *controller_);
    zoomInAction = zoomMenu_->zoomInAction;
    zoomOutAction = zoomMenu_->zoomOutAction;
    zoomFitAction = zoomMenu_->fitAction;
    zoom400Action = zoomMenu_->stepAction(4.0);
    zoom200Action = zoomMenu_->stepAction(2.0);
    zoomNormalAction = zoomMenu_->stepAction(1.0);
    zoom75Action = zoomMenu_->stepAction(0.75);
    zoom50Action = zoomMenu_->stepAction(0.5);
    zoom25Action = zoomMenu_->stepAction(0.25);
    zoom10Action = zoomMenu_->stepAction(0.1);
}

void MainWindow::buildFrameStackPanel() {
    frameStackPanel_ = new FrameStackPanel(
        *controller_,
        [this](StyleId id) {
            // The sample photo in the style, drawn the first time it is needed.
            QIcon& icon = stackIcons_[std::size_t(id)];
            if (icon.isNull()) {
                const QImage framed = FramedSample(id, 48, 40);
                if (!framed.isNull()) icon = QIcon(QPixmap::fromImage(framed));
            }
            return icon;
        },
        [this](const std::function<void()>& command) { runCommand(command); }, this);
    frameStackPanel_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    addDockWidget(Qt::RightDockWidgetArea, frameStackPanel_);
    frameStackPanel_->hide();
    frameStackAction = frameStackPanel_->toggleViewAction();
    frameStackAction->setObjectName("frameStackAction");
    frameStackAction->setText(tr("Frame &Stack"));
    frameStackAction->setToolTip(
        tr("Show the frames on the photo, to change, hide or reorder them"));
    viewMenu->addSeparator();
    viewMenu->addAction(frameStackAction);
    // The panel comes up by itself once there are frames to arrange.
    connect(controller_.get(), &DocumentController::stackChanged, this, [this] {
        const std::size_t count = controller_->groupCount();
        if (count >= 2 && shownGroupCount_ < 2) frameStackPanel_->show();
        shownGroupCount_ = count;
    });
}

void MainWindow::buildBars() {
    toolBar_ = AddMainToolBar(
        *this, {openAction, saveAction, undoAction, redoAction, applyFrameAction, zoomFitAction});
    statusPanel_ = new StatusPanel(*statusBar(), *controller_);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdiArea_ && event->type() == QEvent::Resize)
        runCommand([this] { reportViewRoom(); });
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::reportViewRoom() {
    // The image window's decoration (as drawn once there is a window, else
    // as the style gives it) and the pixel of slack either side that its
    // sizing keeps, as in AdjustedWindowSize.
    QSize decoration(2 * metrics_.borderX, metrics_.captionHeight + 2 * metrics_.borderY);
    if (imageWindow_ && imageWindow_->isVisible() && imageWindow_->widget())
        decoration = imageWindow_->size() - imageWindow_->widget()->size();
    const int w = mdiArea_->width() - decoration.width() - 2;
    const int h = mdiArea_->height() - decoration.height() - 2;
    const double ratio = devicePixelRatioF();
    controller_->setViewRoom(int(w * ratio), int(h * ratio));
}

QSize MainWindow::shownPictureSize() const {
    const QSize shown = controller_->shownSize();
    const double ratio = devicePixelRatioF();
    return {int(std::ceil(shown.width() / ratio)), int(std::ceil(shown.height() / ratio))};
}

ImageWindow* MainWindow::imageWindow() const {
    return imageWindow_;
}

QAction* MainWindow::styleAction(StyleId style) const {
    return styleActions_[std::size_t(StyleInfoOf(style).menuPosition)];
}

void MainWindow::runCommand(const std::function<void()>& command) {
    RunCommand(this, command);
}

// --- Following the controller ----------------------------------------------------------

void MainWindow::followController() {
    DocumentController& c = *controller_;
    connect(&c, &DocumentController::documentOpened, this, [this] {
        showNewImageWindow();
        updateActions();
    });
    connect(&c, &DocumentController::documentClosed, this, [this] {
        dropImageWindow();
        updateActions();
    });
    connect(&c, &DocumentController::documentOpened, this, [this] { emptyHint_->hide(); });
    connect(&c, &DocumentController::documentClosed, this, [this] { emptyHint_->show(); });
    connect(&c, &DocumentController::styleChanged, this, &MainWindow::updateActions);
    connect(&c, &DocumentController::selectionChanged, this, &MainWindow::updateActions);
    connect(&c, &DocumentController::pictureResized, this, &MainWindow::adjustImageWindow);
    connect(&c, &DocumentController::zoomChanged, this, [this] {
        // A new window is already sized for its picture at the zoom.
        if (imageWindow_ && imageWindow_->view()->size() != shownPictureSize()) adjustImageWindow();
    });
    connect(&c, &DocumentController::titlesChanged, this, &MainWindow::updateTitles);
    connect(&c, &DocumentController::undoAvailable, this, &MainWindow::updateUndo);
    connect(&c, &DocumentController::redoAvailable, this, &MainWindow::updateUndo);
    connect(&c, &DocumentController::windowSizeRestored, this, [this](int w, int h) {
        if (imageWindow_) imageWindow_->setGeometry(imageWindow_->x(), imageWindow_->y(), w, h);
    });
    connect(&c, &DocumentController::busyChanged, this, [this](bool busy) {
        if (busy)
            busyCursor_ = std::make_unique<BusyCursor>();
        else
            busyCursor_.reset();
    });
    connect(&c, &DocumentController::errorOccurred, this,
            [this](const QString& caption, const QString& text) {
                Dialogs::current().messageBox(this, caption.toStdString(), text.toStdString(),
                                              MessageIcon::Error, MessageButtons::Ok);
            });
    connect(editBar_, &FrameEditBar::decorationPickerToggled, this,
            [this] { runCommand([this] { toggleDecorationPicker(); }); });
    connect(editBar_, &FrameEditBar::pointerMoved, this, &MainWindow::closeDecorationPicker);
}

void MainWindow::followStylePictures() {
    stylePictureRenderer_ = new StylePictureRenderer(this);
    connect(controller_.get(), &DocumentController::documentOpened, this, [this] {
        const PhotoDocument* document = controller_->document();
        if (document && document->HasPhoto()) stylePictureRenderer_->render(document->Photo());
    });
    connect(stylePictureRenderer_, &StylePictureRenderer::picturesReady, this,
            [this](const QList<QImage>& pictures) {
                for (const StyleInfo& info : StyleCatalog()) {
                    const auto id = std::size_t(info.id);
                    if (id < std::size_t(pictures.size()) && !pictures[qsizetype(id)].isNull())
                        styleAction(info.id)->setIcon(
                            QIcon(QPixmap::fromImage(pictures[qsizetype(id)])));
                }
            });
}

void MainWindow::showNewImageWindow() {
    dropImageWindow();
    QList<QAction*> actions(styleActions_.begin(), styleActions_.end());
    auto* window = new ImageWindow(*controller_, actions, pictureStyle_);
    window->closeAllowed = [this] {
        bool allowed = false;
        runCommand([this, &allowed] { allowed = confirmDiscard(); });
        return allowed;
    };
    connect(window, &ImageWindow::pointerActivity, this, &MainWindow::closeDecorationPicker);
    mdiArea_->addSubWindow(window);
    imageWindow_ = window;
    const QSize shown = shownPictureSize();
    WindowSize size = FirstWindowSize(metrics_, shown.width(), shown.height(), width(), height());
    // The tool and status bars take room of the main window as well.
    size.width = std::min(size.width, mdiArea_->width());
    size.height = std::min(size.height, mdiArea_->height());
    window->setGeometry(0, 0, size.width, size.height);
    window->show();
    window->showPicture();
    updateTitles();
    // The window's own decoration may leave the picture more room.
    reportViewRoom();
}

void MainWindow::dropImageWindow() {
    ImageWindow* window = imageWindow_;
    imageWindow_ = nullptr;
    if (!window) return;
    if (window->closing()) return; // it goes by itself once closed
    // Replaced without closing: closing would close the document.
    mdiArea_->removeSubWindow(window);
    delete window;
}

void MainWindow::adjustImageWindow() {
    const PhotoDocument* document = controller_->document();
    if (!document || !imageWindow_) return;
    imageWindow_->setScrollBarsShown(false);
    const QSize shown = shownPictureSize();
    WindowSize size = AdjustedWindowSize(metrics_, shown.width(), shown.height(), width(), height(),
                                         controller_->framing(), FrameEditBar::kHeight);
    size.width = std::min(size.width, mdiArea_->width());
    size.height = std::min(size.height, mdiArea_->height());
    if (imageWindow_->isVisible())
        imageWindow_->setGeometry(imageWindow_->x(), imageWindow_->y(), size.width, size.height);
    imageWindow_->setScrollBarsShown(true);
    imageWindow_->showPicture();
}

void MainWindow::updateActions() {
    const DocumentController& c = *controller_;
    const bool document = c.hasDocument();
    const bool framing = c.framing();
    for (QAction* a : {saveAction, saveAsAction, printAction, copyAction}) a->setEnabled(document);
    resizeAction->setEnabled(document && !framing);
    applyFrameAction->setEnabled(framing);
    cropAction->setEnabled(document && c.selection().right != c.selection().left);
    framesMenu->menuAction()->setEnabled(document);
    viewMenu->menuAction()->setEnabled(document);
    // The zoom items also sit in the tool bar and answer their keys.
    for (QAction* a : viewMenu->actions()) a->setEnabled(document);
    imageMenu->menuAction()->setEnabled(document && !framing);
    updateUndo();
}

void MainWindow::updateUndo() {
    undoAction->setEnabled(controller_->canUndo());
    undoAction->setText(controller_->undoCaption());
    redoAction->setEnabled(controller_->canRedo());
}

void MainWindow::updateRecentMenu() {
    recentMenu->clear();
    std::vector<std::string> files;
    try {
        files = SettingsStore().ReadList(SettingsStore::kRecentFiles);
    } catch (const std::exception&) {
        // A store that cannot be read lists nothing; opening still works.
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string file = files[i];
        QAction* action =
            recentMenu->addAction(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(file)));
        connect(action, &QAction::triggered, this,
                [this, file] { runCommand([this, file] { openFile(file); }); });
    }
    recentMenu->setEnabled(!files.empty());
}

void MainWindow::rememberRecentFile(const std::string& fileName) {
    try {
        SettingsStore store;
        store.WriteList(SettingsStore::kRecentFiles,
                        WithRecentFile(store.ReadList(SettingsStore::kRecentFiles), fileName));
    } catch (const std::exception&) {
        // The list is a convenience: a store that cannot be written must not
        // turn a picture that opened into an error.
    }
    updateRecentMenu();
}

void MainWindow::updateTitles() {
    setWindowTitle(controller_->mainTitle());
    if (imageWindow_) imageWindow_->setWindowTitle(controller_->imageTitle());
}

// --- Window events ---------------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (startupDone_) return;
    startupDone_ = true;
    // The start-up work runs once the window is on the screen, so that the
    // about box appears over a painted main window.
    QTimer::singleShot(0, this, [this] { runCommand([this] { startUp(); }); });
}

void MainWindow::startUp() {
    if (aboutAtStart_) centreAndShowModal(*about_);
    controller_->applyStartupSettings();
    if (startupFile_) openFile(*startupFile_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    bool leave = false;
    runCommand([this, &leave] { leave = confirmDiscard(); });
    if (!leave) {
        event->ignore();
        return;
    }
    storeBounds();
    controller_->closeDocument();
    event->accept();
}

void MainWindow::storeBounds() {
    // A configuration file that cannot be written (a read-only folder) must
    // not keep the program from closing: QSettings only records the failure
    // in its status.
    const std::string fileName = configFileName();
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(fileName).parent_path(), ec);
    QSettings config(QString::fromStdString(fileName), QSettings::IniFormat);
    config.beginGroup("Desktop");
    config.setValue("Left", x());
    config.setValue("Top", y());
    config.setValue("Width", width());
    config.setValue("Height", height());
    config.endGroup();
    config.sync();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (controller_->hasDocument()) runCommand([this] { adjustImageWindow(); });
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    closeDecorationPicker();
    QMainWindow::mousePressEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = DroppedFiles(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    // The first file takes this window, by the same path as File > Open, so
    // unsaved changes are asked about; each further file opens in a window
    // of its own, as several files named on the command line do.
    runCommand([this, &files] { openFile(files.front()); });
    for (std::size_t i = 1; i < files.size(); ++i) {
        auto* window = new MainWindow();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setAboutAtStart(false);
        window->setStartupFile(files[i]);
        window->move(pos() + QPoint(32, 32) * int(i));
        window->show();
    }
}

void MainWindow::centreAndShowModal(QDialog& dialog) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const ScreenPoint at = CentredOnScreen(screen->size().width(), screen->size().height(),
                                               dialog.width(), dialog.height());
        dialog.move(at.left, at.top);
    }
    Dialogs::current().runModal(dialog);
}

} // namespace quillon
