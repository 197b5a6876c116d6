// TfrmMain: the main window and the shell state. It owns the one current
// photo document and the image window that shows it, holds the menus and
// the (hidden) frame edit bar, and runs the commands that open, save, paste
// and frame pictures. Every command runs inside RunCommand: an exception is
// shown as a message box with its text and the program goes on. After a
// failed load there is no document and the menus are as after closing the
// image window.
#pragma once

#include "app/Layout.h"
#include "app/dialogs/Settings.h"
#include "document/Undo.h"

#include <QMainWindow>
#include <QMenu>
#include <QProxyStyle>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QMdiArea;

namespace quillon {

class TButtonBar;
class TEditBar;
class TfrmAbout;
class TfrmSetting;
class TfrmPattern;
class TfrmWindow;
class TfrmResize;
class TfrmPrint;
class TScanImage;

struct TSelectionRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// One entry of the Frames menu: its item name, the style it chooses and the
// index of its picture in the style picture list.
struct TFrameMenuEntry {
    const char* Name;
    int Style;
    int PictureIndex;
};
// The Frames menu (and the image window's pop-up) in menu order.
extern const std::array<TFrameMenuEntry, 13> kFrameMenu;

// Draws menu items that have a picture and no text as the picture alone at
// its own size (the 174 x 25 style pictures).
class TPictureMenuStyle final : public QProxyStyle {
public:
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

class TfrmMain final : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // Shell state.
    std::unique_ptr<TButtonBar> Document;
    TfrmWindow* frmWindow = nullptr;
    std::string CurrentFileName;
    int ZoomMode = 0;
    bool FrameInProgress = false;
    TShellFolders Folders; // dialog start folders and the user decoration folders
    int UndoCount = 0;
    int UndoIndex = 0;
    TUndoList UndoList; // slot i is UndoList[i - 1]
    TSelectionRect TSelection;
    bool Dragging = false;
    bool TimerBusy = false;
    bool CrossCursorSet = false;
    TWindowMetrics Metrics;

    // Menus and their items.
    QMenu *File1, *Frames1, *Edit1, *Effects1, *View1, *Help1;
    QAction *Open, *SelectSource, *Scan, *Save1, *PrinterSetup1, *Print1, *Settings, *Exit1;
    QAction *Undo1, *ApplyFrame, *CropSelection1, *Resize1, *CopyToClipboard, *PasteFromClipboard;
    QAction *GreyScale1, *NegativeImage1, *Rotate90Right1, *Rotate90Left1, *Rotate1801;
    QAction *ZoomNormal, *Zoom75, *Zoom50, *Zoom25, *Zoom10;
    QAction *About1, *HelpSystem1;
    // The Frames menu items, in menu order (kFrameMenu).
    std::array<QAction*, 13> FrameItems{};
    QWidget* pnlEdit = nullptr;
    TEditBar* EditBar = nullptr; // the controls of pnlEdit
    QMdiArea* MdiArea = nullptr;
    TfrmResize* frmResize = nullptr;  // created at its first showing, kept for the run
    TfrmPrint* frmPrint = nullptr;    // likewise
    TScanImage* ScanImage1 = nullptr; // created at the first scanning command

    // The configuration file of the window bounds.
    static std::string ConfigFileName();

    // Commands.
    void OpenClick();
    void LoadFile(const std::string& name, bool fromClipboard);
    void Save1Click();
    void CopyToClipboardClick();
    void PasteFromClipboardClick();
    void ApplyFrameClick();
    void SelectFrameStyle(int style);
    void WindowPrepare();
    void AddUndo(const Bitmap& display, const Bitmap& picture, const std::string& caption);
    void Undo1Click();
    // The zoom commands: mode 0, 2, 3, 4 or 5 with its undo caption.
    void ZoomClick(int mode);
    void ClearSelection();
    void CropSelection1Click();
    void TogglePatternPicker();
    void SettingsClick();
    void About1Click();
    void HelpSystem1Click();
    void PrinterSetup1Click();
    void Exit1Click();

    // The Image menu (app/ImageMenu.cpp).
    void GreyScale1Click();
    void NegativeImage1Click();
    void Rotate90Right1Click();
    void Rotate90Left1Click();
    void Rotate1801Click();
    void Resize1Click();
    void Print1Click();
    void SelectSourceClick();
    void ScanClick();

    void AdjustWindow();
    void SetZoomCaption(const std::string& name);
    void DrawSelection(int x1, int y1, int y2, int x2);
    void ClosePatternPicker();
    void RestoreCrossCursor();
    // Called by the image window as it closes.
    void ImageWindowClosed(TfrmWindow* window);

    // Runs a command at its edge: an exception becomes the standard
    // exception box, and the program goes on.
    void RunCommand(const std::function<void()>& command);

    // The pop-up menu's items (the Frames menu items, in order), and the
    // style that draws them as pictures.
    std::array<QAction*, 13> PopupItems() const { return FrameItems; }
    void StylePictureMenu(QMenu& menu);

    // Whether the first showing's start-up work has run.
    bool StartupDone() const { return formShown_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void BuildMenus();
    void FormShow();
    void FormClose();
    void DestroyDocument();
    void NewImageWindow();
    void ShowFirstSizing();
    void ShowNoDocumentMenus();
    void EnableForNewPicture();
    void CentreAndShowModal(QDialog& dialog);
    // Repaints the image window after an Image menu command.
    void ImageCommandDone(bool rotated);

    TPictureMenuStyle* pictureStyle_ = nullptr;
    bool formShown_ = false;
};

// The forms of the running program, set by CreateForms.
extern TfrmMain* frmMain;
extern TfrmAbout* frmAbout;
extern TfrmSetting* frmSetting;

// The start routine's forms, created in order (main window first) and
// destroyed in reverse. Tests create one per case.
class TProgramForms {
public:
    TProgramForms();
    ~TProgramForms();
    TProgramForms(const TProgramForms&) = delete;
    TProgramForms& operator=(const TProgramForms&) = delete;

private:
    std::unique_ptr<TfrmMain> main_;
    std::unique_ptr<TfrmPattern> pattern_;
    std::unique_ptr<TfrmAbout> about_;
    std::unique_ptr<TfrmSetting> setting_;
};

} // namespace quillon
