// DecorationPicker: the borderless pop-up that lists the decorations (tile
// patterns, ornate mouldings, overlays and masks), each by its name, and
// gives the one clicked to the current frame through the document
// controller; the pattern list starts with "None", which takes the pattern
// away. It is created once and only shown and hidden; it closes on Escape,
// a right click, or a click anywhere outside it. Each list is filled the
// first time it is shown empty, the user's own overlay and mask folders
// (the controller's folders) after the program's. A file that cannot be
// read stops the filling with the reader's error, the files read before it
// staying in the list.
#pragma once

#include <QListWidget>
#include <QWidget>

#include <string>

namespace quillon {

class DocumentController;

// The text of an overlay or mask item: the file name without its last four
// characters, cut or blank-padded to 60 characters, then the full path.
std::string DecorationItemText(const std::string& fileName, const std::string& path);
// The path of an overlay or mask item: its text from the 61st character.
std::string DecorationItemPath(const std::string& itemText);

// Where the pop-up hangs from: the main window's bounds, the edit bar's top
// and height inside it, the decoration panel's left in the bar and the
// window border's height.
struct PickerAnchor {
    int mainLeft = 0;
    int mainTop = 0;
    int mainWidth = 0;
    int editTop = 0;
    int editHeight = 0;
    int panelLeft = 0;
    int borderY = 0;
};

// The pop-up's screen position under the decoration panel, pushed left so
// that it ends at the main window's inner right edge when it would run past
// it.
struct PickerPlace {
    int left = 0;
    int top = 0;
};
PickerPlace PickerPlaceFor(const PickerAnchor& anchor, int popupWidth);

// Adds one item per file of folder matching mask ("*.bmp": the extension,
// any letter case) to list, as DecorationItemText. Nothing for an empty
// folder or mask text or a missing list.
void CreateListOfFiles(const std::string& folder, const std::string& mask, QListWidget* list);

class DecorationPicker final : public QWidget {
    Q_OBJECT
public:
    DecorationPicker(DocumentController& controller, QWidget* mainWindow);

    QListWidget *patternList, *mouldingList, *overlayList, *maskList;

    // Opens the pop-up with the list for the current style, or closes it
    // when it is open.
    void toggle(const PickerAnchor& anchor);

    // A click in each list: the current item becomes the frame's
    // decoration, unless it is the decoration already.
    void choosePattern();
    void chooseMoulding();
    void chooseOverlay();
    void chooseMask();

protected:
    // Watches the lists, and the whole program while the pop-up shows.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // Reads every "*.bmp" of folder into list as a drawn item.
    void fillPictureList(QListWidget* list, const std::string& folder);
    void fillTextList(QListWidget* list, const std::string& sub, const std::string& userFolder);
    void addNoneItem(QListWidget* list);
    // Selects the item of the frame's decoration, or none.
    void markCurrent(QListWidget* list);
    // Whether object is (inside) the edit bar's decoration swatch.
    bool isOpener(QObject* object) const;
    void chooseFrom(QListWidget* list, bool textItems);

    DocumentController& controller_;
};

} // namespace quillon
