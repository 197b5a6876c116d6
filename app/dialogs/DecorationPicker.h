// TfrmPattern: the borderless pop-up that lists the decorations (tile
// patterns, ornate frame pictures, overlays and masks) and applies the one
// double-clicked to the main window's current frame. It is created once and
// only shown and hidden; each list is filled the first time it is shown
// empty, and the pictures of the two drawn lists stay loaded for the run. A
// file that cannot be read stops the filling with the reader's error, the
// files read before it staying in the list.
#pragma once

#include <QListWidget>
#include <QWidget>

#include <string>

namespace quillon {

class TfrmMain;

// The text of an overlay or mask item: the file name without its last four
// characters, cut or blank-padded to 60 characters, then the full path.
std::string DecorationItemText(const std::string& fileName, const std::string& path);
// The path of an overlay or mask item: its text from the 61st character.
std::string DecorationItemPath(const std::string& itemText);

// The ornate flags and output size a picture's path asks for. The spelling
// tests are case-sensitive and look at the whole path.
struct TOrnateChoice {
    bool ClipCorners = false;
    bool TransparentPieces = false;
    int OutputWidth = 0;
    int OutputHeight = 0;
};
TOrnateChoice OrnateChoice(const std::string& path, int photoWidth, int photoHeight,
                           int patternHeight);

// The pop-up's screen position under the pattern panel, pushed left so that
// it ends at the main window's inner right edge when it would run past it.
struct TPickerPlace {
    int Left = 0;
    int Top = 0;
};
TPickerPlace PickerPlace(int mainLeft, int mainTop, int mainWidth, int editTop, int editHeight,
                         int panelLeft, int borderY, int popupWidth);

// Adds one item per file of folder matching mask ("*.bmp": the extension,
// any letter case) to list, as DecorationItemText. Nothing for an empty
// folder or mask text or a missing list.
void CreateListOfFiles(const std::string& folder, const std::string& mask, QListWidget* list);

class TfrmPattern final : public QWidget {
    Q_OBJECT
public:
    explicit TfrmPattern(TfrmMain& main);

    QListWidget *lbPatterns, *lbOrnate, *lbOverlay, *lbMask;

    // Opens the pop-up for the current style, or closes it when it is open.
    void PatternClick();

    void lbPatternsDblClick();
    void lbOrnateDblClick();
    void lbOverlayDblClick();
    void lbMaskDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads every "*.bmp" of folder into list as a drawn item.
    void FillPictureList(QListWidget* list, const std::string& folder);
    void FillTextList(QListWidget* list, const std::string& sub, const std::string& userFolder);
    void ChooseDecoration(QListWidget* list, bool overlay);
    TfrmMain& main_;
};

extern TfrmPattern* frmPattern;

} // namespace quillon
