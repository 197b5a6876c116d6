#include "app/Mainfrm.h"

#include "app/About.h"
#include "app/Dialogs.h"
#include "app/EditBar.h"
#include "app/StylePictures.h"
#include "app/Wind.h"
#include "app/dialogs/Patterns.h"
#include "document/Butbar.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "frames/Clipboard.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <filesystem>

namespace quillon {

TfrmMain* frmMain = nullptr;
TfrmAbout* frmAbout = nullptr;
TfrmSetting* frmSetting = nullptr;

const std::array<TFrameMenuEntry, 13> kFrameMenu = {{
    {"FrameOrnate", fsOrnate, 9},
    {"FrameOverlay1", fsOverlay, 11},
    {"FrameMasks1", fsMask, 7},
    {"JaggedEdges1", fsJagged, 6},
    {"Box1", fsBox, 12},
    {"Buttonize1", fsButton, 2},
    {"DropShadow1", fsShadow, 4},
    {"StandardFrame1", fsMatte, 8},
    {"CornerFrame1", fsCorner, 0},
    {"Oval1", fsOval, 10},
    {"Diamond1", fsDiamond, 3},
    {"Grayscale1", fsGrayscale, 5},
    {"BubbleFrame1", fsBubble, 1},
}};

namespace {

const char* const kCaption = "Quillon";
constexpr int kEditBarHeight = 24;

// The hourglass cursor for the life of one operation, restored on every path.
class THourglass {
public:
    THourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~THourglass() { QApplication::restoreOverrideCursor(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;
};

bool IsPictureItem(const QStyleOption* option) {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    return item && item->menuItemType == QStyleOptionMenuItem::Normal && item->text.isEmpty() &&
           !item->icon.isNull();
}

bool FileExists(const std::string& name) {
    std::error_code ec;
    return std::filesystem::exists(name, ec);
}

} // namespace

QSize TPictureMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                          const QSize& size, const QWidget* widget) const {
    if (type == CT_MenuItem && IsPictureItem(option))
        return QSize(kStylePictureWidth + 8, kStylePictureHeight + 4);
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void TPictureMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const {
    if (element != CE_MenuItem || !IsPictureItem(option)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    const bool selected = item->state & State_Selected;
    const bool enabled = item->state & State_Enabled;
    painter->fillRect(item->rect,
                      item->palette.color(selected ? QPalette::Highlight : QPalette::Window));
    const QIcon::Mode mode = enabled ? QIcon::Normal : QIcon::Disabled;
    const QPixmap picture = item->icon.pixmap(QSize(kStylePictureWidth, kStylePictureHeight), mode);
    painter->drawPixmap(item->rect.left() + 4, item->rect.top() + 2, picture);
}

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    frmMain = this;
    // The start folder is the current folder at start; the style pictures of
    // the menus already read the sample photo from it.
    std::error_code ec;
    SetStartFolder(std::filesystem::current_path(ec).string());
    Folders.OpenDir = StartFolder() + "/Pictures";
    setWindowTitle(kCaption);
    setObjectName("frmMain");

    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pnlEdit = new QWidget(centre);
    pnlEdit->setObjectName("pnlEdit");
    pnlEdit->setFixedHeight(kEditBarHeight);
    pnlEdit->hide();
    EditBar = new TEditBar(*this, pnlEdit);
    MdiArea = new QMdiArea(centre);
    MdiArea->setBackground(palette().color(QPalette::Dark));
    layout->addWidget(pnlEdit);
    layout->addWidget(MdiArea, 1);
    setCentralWidget(centre);
    pictureStyle_ = new TPictureMenuStyle;
    pictureStyle_->setParent(this);
    BuildMenus();

    resize(609, 349);
    move(252, 213);
    TDesktopBounds bounds;
    {
        QSettings config(QString::fromStdString(ConfigFileName()), QSettings::IniFormat);
        config.beginGroup("Desktop");
        bounds.Left = config.value("Left", 0).toInt();
        move(bounds.Left, y());
        bounds.Top = config.value("Top", 0).toInt();
        move(x(), bounds.Top);
        bounds.Width = config.value("Width", 640).toInt();
        resize(bounds.Width, height());
        bounds.Height = config.value("Height", 480).toInt();
        resize(width(), bounds.Height);
    }
    if (StartsMaximised(bounds)) setWindowState(windowState() | Qt::WindowMaximized);

    // The edit bar spans the window; its controls are laid out from the left.
    pnlEdit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    Metrics.CaptionHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    Metrics.BorderX = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    Metrics.BorderY = Metrics.BorderX;
}

TfrmMain::~TfrmMain() {
    DestroyDocument();
    RestoreCrossCursor();
    if (frmMain == this) frmMain = nullptr;
}

std::string TfrmMain::ConfigFileName() {
    return StartFolder() + "/quillon.cfg";
}

void TfrmMain::BuildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, bool enabled,
                       void (TfrmMain::*handler)() = nullptr) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setEnabled(enabled);
        if (handler)
            connect(action, &QAction::triggered, this,
                    [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
        return action;
    };
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(name);
        return m;
    };

    File1 = menu("File1", tr("&File"));
    Open = item(File1, "Open", tr("&Open.."), true, &TfrmMain::OpenClick);
    Open->setShortcut(QKeySequence::Open);
    SelectSource =
        item(File1, "SelectSource", tr("S&elect Scan Source"), true, &TfrmMain::SelectSourceClick);
    Scan = item(File1, "Scan", tr("S&can"), false, &TfrmMain::ScanClick);
    Save1 = item(File1, "Save1", tr("&Save As.."), false, &TfrmMain::Save1Click);
    Save1->setShortcuts({QKeySequence::Save, QKeySequence::SaveAs});
    File1->addSeparator();
    PrinterSetup1 =
        item(File1, "PrinterSetup1", tr("P&rinter Setup.."), true, &TfrmMain::PrinterSetup1Click);
    Print1 = item(File1, "Print1", tr("&Print.."), false, &TfrmMain::Print1Click);
    Print1->setShortcut(QKeySequence::Print);
    File1->addSeparator();
    Settings = item(File1, "Settings", tr("Settin&gs.."), true, &TfrmMain::SettingsClick);
    File1->addSeparator();
    Exit1 = item(File1, "Exit1", tr("&Exit"), true, &TfrmMain::Exit1Click);
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    Frames1 = menu("Frames1", tr("F&rames"));
    StylePictureMenu(*Frames1);
    const auto& pictures = StylePictures();
    for (std::size_t i = 0; i < kFrameMenu.size(); ++i) {
        const TFrameMenuEntry& entry = kFrameMenu[i];
        QAction* action = Frames1->addAction(
            QIcon(QPixmap::fromImage(pictures[std::size_t(entry.Style)])), QString());
        action->setObjectName(entry.Name);
        action->setToolTip(tr(StyleName(entry.Style)));
        const int style = entry.Style;
        connect(action, &QAction::triggered, this,
                [this, style] { RunCommand([this, style] { SelectFrameStyle(style); }); });
        FrameItems[i] = action;
    }
    Frames1->menuAction()->setEnabled(false);

    Edit1 = menu("Edit1", tr("&Edit"));
    Undo1 = item(Edit1, "Undo1", tr("&Undo"), false, &TfrmMain::Undo1Click);
    Undo1->setShortcut(QKeySequence::Undo);
    ApplyFrame = item(Edit1, "ApplyFrame", tr("&Apply Frame"), false, &TfrmMain::ApplyFrameClick);
    CropSelection1 =
        item(Edit1, "CropSelection1", tr("&Crop Selection"), false, &TfrmMain::CropSelection1Click);
    Resize1 = item(Edit1, "Resize1", tr("&Resize"), false, &TfrmMain::Resize1Click);
    Edit1->addSeparator();
    CopyToClipboard = item(Edit1, "CopyToClipboard", tr("&Copy Image To Clipboard"), false,
                           &TfrmMain::CopyToClipboardClick);
    CopyToClipboard->setShortcut(QKeySequence::Copy);
    PasteFromClipboard = item(Edit1, "PasteFromClipboard", tr("&Paste Image From Clipboard"), true,
                              &TfrmMain::PasteFromClipboardClick);
    PasteFromClipboard->setShortcut(QKeySequence::Paste);

    Effects1 = menu("Effects1", tr("&Image"));
    GreyScale1 = item(Effects1, "GreyScale1", tr("&Gray Scale"), true, &TfrmMain::GreyScale1Click);
    NegativeImage1 =
        item(Effects1, "NegativeImage1", tr("&Negative"), true, &TfrmMain::NegativeImage1Click);
    Rotate90Right1 = item(Effects1, "Rotate90Right1", tr("Rotate &90 Right"), true,
                          &TfrmMain::Rotate90Right1Click);
    Rotate90Left1 =
        item(Effects1, "Rotate90Left1", tr("Rotate 90 &Left"), true, &TfrmMain::Rotate90Left1Click);
    Rotate1801 = item(Effects1, "Rotate1801", tr("&Rotate &180"), true, &TfrmMain::Rotate1801Click);
    Effects1->menuAction()->setEnabled(false);

    View1 = menu("View1", tr("&View"));
    ZoomNormal = item(View1, "ZoomNormal", tr("&Normal Size"), true);
    Zoom75 = item(View1, "Zoom75", tr("Zoom &75%"), true);
    Zoom50 = item(View1, "Zoom50", tr("Zoom &50%"), true);
    Zoom25 = item(View1, "Zoom25", tr("Zoom &25%"), true);
    Zoom10 = item(View1, "Zoom10", tr("Zoom &10%"), true);
    const std::pair<QAction*, int> zooms[] = {
        {ZoomNormal, 0}, {Zoom75, 2}, {Zoom50, 3}, {Zoom25, 4}, {Zoom10, 5}};
    for (const auto& [zoom, mode] : zooms) {
        zoom->setCheckable(true);
        connect(zoom, &QAction::triggered, this,
                [this, mode] { RunCommand([this, mode] { ZoomClick(mode); }); });
    }
    View1->menuAction()->setEnabled(false);

    Help1 = menu("Help1", tr("&Help"));
    About1 = item(Help1, "About1", tr("&About"), true, &TfrmMain::About1Click);
    HelpSystem1 = item(Help1, "HelpSystem1", tr("&Help"), true, &TfrmMain::HelpSystem1Click);
    HelpSystem1->setShortcut(QKeySequence::HelpContents);
}

void TfrmMain::StylePictureMenu(QMenu& menu) {
    menu.setStyle(pictureStyle_);
}

void TfrmMain::RunCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        Dialogs().MessageBox(this, kCaption, e.what(), TMsgIcon::Error, TMsgButtons::Ok);
    }
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (formShown_) return;
    formShown_ = true;
    // The start-up work runs once the window is on the screen, so that the
    // about box appears over a painted main window.
    QTimer::singleShot(0, this, [this] { RunCommand([this] { FormShow(); }); });
}

void TfrmMain::FormShow() {
    if (frmAbout) CentreAndShowModal(*frmAbout);
    ApplyStartupSettings(Folders);
    ZoomMode = 0;
    for (QAction* zoom : {ZoomNormal, Zoom75, Zoom50, Zoom25, Zoom10})
        zoom->setChecked(zoom == ZoomNormal);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TfrmMain::FormClose() {
    {
        // A configuration file that cannot be written (a read-only folder)
        // must not keep the program from closing: QSettings only records the
        // failure in its status.
        QSettings config(QString::fromStdString(ConfigFileName()), QSettings::IniFormat);
        config.beginGroup("Desktop");
        config.setValue("Left", x());
        config.setValue("Top", y());
        config.setValue("Width", width());
        config.setValue("Height", height());
        config.endGroup();
        config.sync();
    }
    DestroyDocument();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (Document) RunCommand([this] { AdjustWindow(); });
}

void TfrmMain::CentreAndShowModal(QDialog& dialog) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        const TLeftTop at = CentredOnScreen(screen->size().width(), screen->size().height(),
                                            dialog.width(), dialog.height());
        dialog.move(at.Left, at.Top);
    }
    Dialogs().RunModal(dialog);
}

void TfrmMain::DestroyDocument() {
    // The document goes first: the window is only the parent of its images.
    Document.reset();
    if (frmWindow) {
        TfrmWindow* window = frmWindow;
        frmWindow = nullptr;
        delete window;
    }
}

void TfrmMain::ShowNoDocumentMenus() {
    for (QAction* a : {Save1, CopyToClipboard, Print1, ApplyFrame, Resize1, Undo1})
        a->setEnabled(false);
    for (QMenu* m : {View1, Effects1, Frames1}) m->menuAction()->setEnabled(false);
    setWindowTitle(kCaption);
    pnlEdit->hide();
    ClosePatternPicker();
}

void TfrmMain::EnableForNewPicture() {
    for (QAction* a : {Print1, Save1, CopyToClipboard, Resize1}) a->setEnabled(true);
    for (QMenu* m : {Frames1, View1, Effects1}) m->menuAction()->setEnabled(true);
    pnlEdit->hide();
}

void TfrmMain::NewImageWindow() {
    auto* window = new TfrmWindow(*this);
    MdiArea->addSubWindow(window);
    frmWindow = window;
    Document->Image->Parent = window;
    Document->Window = window;
}

void TfrmMain::ShowFirstSizing() {
    const TSizeWH size = FirstWindowSize(Metrics, Document->GetImageWidth(),
                                         Document->GetImageHeight(), width(), height());
    frmWindow->setGeometry(0, 0, size.Width, size.Height);
    frmWindow->show();
    frmWindow->ImageChanged();
}

void TfrmMain::OpenClick() {
    TFileRequest request;
    request.Title = "Open";
    request.InitialDir = Folders.OpenDir;
    request.FileName = "*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.tga;*.pcx;*.tif;*.png;*.dib;*.rle;*.pdd;"
                       "*.psd;*.pbm;*.cel;*.pic;*.cut";
    request.Filters = OpenDialogFilters();
    const auto chosen = Dialogs().OpenPicture(this, request);
    if (!chosen) return;
    ZoomMode = 0;
    EnableForNewPicture();
    Undo1->setEnabled(false);
    ApplyFrame->setEnabled(false);
    LoadFile(*chosen, false);
    CurrentFileName = *chosen;
    FrameInProgress = false;
    UndoCount = 0;
    UndoIndex = 0;
}

void TfrmMain::LoadFile(const std::string& name, bool fromClipboard) {
    DestroyDocument();
    Document = std::make_unique<TButtonBar>(true);
    setWindowTitle(QString::fromStdString(std::string(kCaption) + " - " + name));
    try {
        THourglass hourglass;
        if (fromClipboard)
            Document->LoadPicture("Clipboard", nullptr, ZoomMode, true);
        else
            Document->LoadPicture(name, nullptr, ZoomMode, false);
    } catch (...) {
        // The old document is gone already: leave none, with the menus of a
        // closed image window, and let the command's edge report the error.
        DestroyDocument();
        ShowNoDocumentMenus();
        throw;
    }
    NewImageWindow();
    ShowFirstSizing();
    SetZoomCaption(name);
    if (Document->GetImageWidth() == 0) {
        Dialogs().MessageBox(this, "Error", "File " + FilePart(name) + " appears corrupted!",
                             TMsgIcon::Error, TMsgButtons::Ok);
        if (frmWindow) frmWindow->close();
    }
}

void TfrmMain::Save1Click() {
    if (!Document) return;
    TFileRequest request;
    request.Title = "Save As";
    request.InitialDir = Folders.SaveDir;
    request.Filters = SaveDialogFilters();
    request.DefaultExtension = kSaveDefaultExtension;
    const auto chosen = Dialogs().SavePicture(this, request);
    if (!chosen) return;
    const std::string& name = *chosen;
    if (FileExists(name) &&
        Dialogs().MessageBox(this, "Confirm",
                             "File " + FilePart(name) + " already exists, overwrite?",
                             TMsgIcon::Question, TMsgButtons::YesNo) != TMsgResult::Yes)
        return;
    bool written = false;
    {
        THourglass hourglass;
        written = Document->SavePicture(name);
    }
    if (!written) {
        // A name that names none of the written formats writes nothing; say
        // so rather than showing the name as saved.
        Dialogs().MessageBox(this, "Error",
                             "File " + FilePart(name) +
                                 " was not saved: the name must end in .bmp, .jpg or .gif.",
                             TMsgIcon::Error, TMsgButtons::Ok);
        return;
    }
    CurrentFileName = name;
    setWindowTitle(QString::fromStdString(std::string(kCaption) + " - " + name));
    SetZoomCaption(name);
}

void TfrmMain::CopyToClipboardClick() {
    if (!Document) return;
    THourglass hourglass;
    QCoreApplication::processEvents();
    Document->CopyToClipboard();
}

void TfrmMain::PasteFromClipboardClick() {
    if (!Clipboard().HasBitmap()) return;
    EnableForNewPicture();
    DestroyDocument();
    Document = std::make_unique<TButtonBar>(true);
    setWindowTitle(kCaption);
    try {
        Document->LoadPicture("Clipboard", nullptr, ZoomMode, true);
    } catch (...) {
        DestroyDocument();
        ShowNoDocumentMenus();
        throw;
    }
    NewImageWindow();
    SetZoomCaption(CurrentFileName);
    ShowFirstSizing();
}

void TfrmMain::ApplyFrameClick() {
    if (!Document) return;
    Document->CopyToClipboard();
    PasteFromClipboardClick();
    Resize1->setEnabled(true);
    ApplyFrame->setEnabled(false);
    if (Document) Document->Style = fsNone;
    FrameInProgress = false;
}

void TfrmMain::SelectFrameStyle(int style) {
    if (!Document) return;
    ApplyFrame->setEnabled(true);
    Effects1->menuAction()->setEnabled(false);
    Resize1->setEnabled(false);
    if (frmWindow) frmWindow->SetScrollPositions(0, 0);
    {
        THourglass hourglass;
        if (!FrameInProgress) {
            AddUndo(Document->Image->PictureBitmap(), *Document->Photo, "&Undo Frame");
            Document->CopyToClipboard();
        }
        FrameInProgress = true;
        Document->SelectStyle(style, ZoomMode);
        Document->ShowAtZoom(ZoomMode);
    }
    WindowPrepare();
    if (style == fsShadow) EditBar->RepaintPatternSwatch();
    AdjustWindow();
    if (style == fsOrnate || style == fsMask || style == fsOverlay || style == fsBox)
        EditBar->RepaintPatternSwatch();
}

void TfrmMain::WindowPrepare() {
    if (Document && Document->Style >= 0 && Document->Style < kStyleCount)
        EditBar->SetEditBar(EditBarCaptions(Document->Style));
    for (QAction* a : {Print1, CopyToClipboard, Save1}) a->setEnabled(true);
    pnlEdit->show();
    EditBar->FillEditBoxes();
    if (frmWindow) {
        frmWindow->show();
        frmWindow->ImageChanged();
    }
}

void TfrmMain::AdjustWindow() {
    if (!Document || !frmWindow) return;
    frmWindow->SetScrollBarsShown(false);
    const bool editBar = !pnlEdit->isHidden();
    const int pictureW = editBar ? Document->GetDisplayWidth() : Document->GetImageWidth();
    const int pictureH = editBar ? Document->GetDisplayHeight() : Document->GetImageHeight();
    const TSizeWH size =
        AdjustedWindowSize(Metrics, pictureW, pictureH, width(), height(), editBar, kEditBarHeight);
    if (frmWindow->isVisible())
        frmWindow->setGeometry(frmWindow->x(), frmWindow->y(), size.Width, size.Height);
    frmWindow->SetScrollBarsShown(true);
    frmWindow->ImageChanged();
    Document->ClearMouseState();
}

void TfrmMain::SetZoomCaption(const std::string& name) {
    for (QAction* zoom : {ZoomNormal, Zoom75, Zoom50, Zoom25, Zoom10}) zoom->setChecked(false);
    const char* suffix = nullptr;
    QAction* item = nullptr;
    switch (ZoomMode) {
    case 0:
        suffix = " - 100%";
        item = ZoomNormal;
        break;
    case 2:
        suffix = " - 75%  ";
        item = Zoom75;
        break;
    case 3:
        suffix = " - 50%  ";
        item = Zoom50;
        break;
    case 4:
        suffix = " - 25% ";
        item = Zoom25;
        break;
    case 5:
        suffix = " - 10%  ";
        item = Zoom10;
        break;
    default:
        return;
    }
    if (frmWindow) frmWindow->setWindowTitle(QString::fromStdString(FilePart(name) + suffix));
    item->setChecked(true);
}

void TfrmMain::DrawSelection(int x1, int y1, int y2, int x2) {
    if (!Document || !Document->Image) return;
    const Rect r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    XorFocusRect(Document->Image->PictureBitmap(), r);
    if (frmWindow) frmWindow->ImageChanged();
}

void TfrmMain::ClosePatternPicker() {
    if (frmPattern) frmPattern->hide();
}

void TfrmMain::TogglePatternPicker() {
    if (frmPattern) frmPattern->PatternClick();
}

void TfrmMain::mousePressEvent(QMouseEvent* event) {
    ClosePatternPicker();
    QMainWindow::mousePressEvent(event);
}

void TfrmMain::RestoreCrossCursor() {
    if (!CrossCursorSet) return;
    CrossCursorSet = false;
    QApplication::restoreOverrideCursor();
}

void TfrmMain::ImageWindowClosed(TfrmWindow* window) {
    if (window != frmWindow) return;
    Document.reset();
    frmWindow = nullptr; // the window deletes itself once closed
    ShowNoDocumentMenus();
}

void TfrmMain::SettingsClick() {
    if (frmSetting) CentreAndShowModal(*frmSetting);
}

void TfrmMain::About1Click() {
    if (frmAbout) CentreAndShowModal(*frmAbout);
}

void TfrmMain::HelpSystem1Click() {
    Dialogs().ShowHelp(this, StartFolder() + "/help/index.html");
}

void TfrmMain::PrinterSetup1Click() {
    Dialogs().PrinterSetup(this);
}

void TfrmMain::Exit1Click() {
    close();
}

TProgramForms::TProgramForms() {
    main_ = std::make_unique<TfrmMain>();
    pattern_ = std::make_unique<TfrmPattern>(*main_);
    about_ = std::make_unique<TfrmAbout>();
    frmAbout = about_.get();
    setting_ = std::make_unique<TfrmSetting>(main_->Folders);
    frmSetting = setting_.get();
}

TProgramForms::~TProgramForms() {
    frmSetting = nullptr;
    frmAbout = nullptr;
    setting_.reset();
    about_.reset();
    pattern_.reset();
    frmPattern = nullptr;
    main_.reset();
}

} // namespace quillon
