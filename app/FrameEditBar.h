// TEditBar: the controls of the frame edit bar (pnlEdit) and their
// handlers. Each control edits one parameter of the current style's frame
// object in the main window's document and re-renders at once. The bar owns
// only its widgets and the small Pattern swatch picture; with no document
// every handler does nothing.
#pragma once

#include "canvas/Bitmap.h"

#include <QObject>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

namespace quillon {

class TfrmMain;

// The groups of the bar, in their left-to-right order.
enum TEditGroup : int { egFH, egFW, egBW, egFC, egBC, egP, egCB };
constexpr int kEditGroupCount = 7;

constexpr int kEditBoxWidth = 26;
constexpr int kUpDownWidth = 14;
constexpr int kSwatchWidth = 18;
constexpr int kSwatchHeight = 20;
constexpr int kPatternPanelWidth = 20;
constexpr int kPatternPanelHeight = 22;
constexpr int kPatternImageWidth = 18;
constexpr int kCheckBoxWidth = 101;

using TEditCaptions = std::array<std::string, kEditGroupCount>;

// The captions of the style's groups ("" hides the group), or all empty for
// a style outside 0..12.
TEditCaptions EditBarCaptions(int style);

// Where one group goes: its label's left, its first control's left and (for
// number groups) the up-down's left.
struct TEditGroupPlace {
    bool Visible = false;
    int LabelLeft = 0;
    int ControlLeft = 0;
    int UpDownLeft = 0;
};
using TEditBarPlaces = std::array<TEditGroupPlace, kEditGroupCount>;

// Lays the groups out from x = 5; labelWidth gives the width of a group's
// label once its new caption is set. The check box has no label: its caption
// is its own text.
TEditBarPlaces EditBarLayout(const TEditCaptions& captions,
                             const std::function<int(int group)>& labelWidth);

// Parses an edit box's text as a decimal integer; anything else (blank,
// trailing text, out of the int range) throws with the message shown.
int EditBoxValue(const std::string& text);

class TEditBar final : public QObject {
    Q_OBJECT
public:
    TEditBar(TfrmMain& main, QWidget* pnlEdit);

    QLabel *lblFH, *lblFW, *lblBW, *lblFC, *lblBC, *lblP;
    QLineEdit *edFrameHeight, *edFrameWidth, *edBorderWidth;
    QWidget *FrameHeightUD, *FrameWidthUD, *BorderWidthUD;
    QFrame *pnlFrameColor, *pnlBorderColor, *pnlPattern;
    QLabel* Pattern;
    QCheckBox* cbScaled;
    // The swatch picture the Pattern image shows.
    Bitmap PatternPicture;

    void SetEditBar(const TEditCaptions& captions);
    void FillEditBoxes();
    // Fills (1,1)-(17,17) of the swatch with white and stretches the
    // frame's pattern bitmap into it.
    void RepaintPatternSwatch();
    void ShowPatternPicture();

    // Handlers. button: +1 up, -1 down, 0 none.
    void ProcessKeyPress();
    void EnterPressed(QLineEdit* box);
    void FrameHeightUDClick(int button);
    void FrameWidthUDClick(int button);
    void BorderWidthUDClick(int button);
    void pnlFrameColorClick();
    void pnlBorderColorClick();
    void cbScaledClick();
    void PatternClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeUpDown(QWidget* parent, const char* name, void (TEditBar::*click)(int));
    void Redraw(bool adjust);
    void SetSwatch(QFrame* swatch, Color color);
    TfrmMain& main_;
    QWidget* pnlEdit_ = nullptr;
};

} // namespace quillon
