// The print dialog's layout arithmetic as plain functions: the page panel
// and its scale, the preview extents of the percent edits, the fixed photo
// sizes, alignment, the full-sheet grids of the preview and of the printed
// page, and the printed rectangle. The widget only shows the results.
// Floats are single precision and float-to-integer conversions truncate
// toward zero, so preview and print agree with these numbers exactly.
#pragma once

#include "canvas/Types.h"

#include <vector>

namespace quillon {

// The size choices in the order of the "Custom Size" group.
enum class CustomSize { None, FitToPage, Size4x6, Size3x5, Size6x4, Size5x3 };
// Alignment choices: left/top, centre, right/bottom.
enum class AlignChoice { Start, Center, End };

struct PanelLayout {
    float PreviewScale = 0; // preview pixels per printer pixel
    int Width = 0;          // the page panel
    int Height = 0;
    float ScaleX = 0; // panel width / PW
    float ScaleY = 0; // panel height / PH
};

// The page panel for a printable area of pw x ph device pixels: the page's
// short side becomes 200 preview pixels. Throws for an empty page.
PanelLayout PanelLayoutFor(int pw, int ph, bool landscape);

// The preview extent of one direction for a percentage: trunc(percent x 0.01
// x (source x panelScale)).
int PreviewExtent(float percent, int source, float panelScale);

struct CustomLayout {
    float CellWidth = 0; // printer pixels of one copy's cell
    float CellHeight = 0;
    bool SetsPercent = false; // false for "None", whose percent is 100
    int Percent = 100;        // what both percent edits receive
};

// A size choice for a picture of sw x sh pixels on a pw x ph page.
CustomLayout CustomLayoutFor(CustomSize choice, int pw, int ph, bool landscape, int sw, int sh);

// The left (or top) of an image of `extent` in a panel of `panel`.
int AlignedStart(AlignChoice choice, int panel, int extent);

// The grid starts of the full-sheet preview in one direction: 1, then
// trunc(cell + 1 + previous), while below limit. The last start is the
// extent of the full-sheet picture; copies are drawn at every start.
std::vector<int> PreviewGridStarts(float cellPreview, int limit);

// The printed rectangle without full sheet: the preview position scaled to
// the page, the size from the percentages.
Rect PrintTarget(const PanelLayout& panel, int pw, int ph, int previewLeft, int previewTop,
                 float widthPercent, float heightPercent, int sw, int sh);

// The copies on a full sheet: rows from (20, 20) with a gap of 20, each cell
// cellWidth x cellHeight, each picture w x h = the percent sizes.
std::vector<Rect> FullSheetCopies(float cellWidth, float cellHeight, int pw, int ph, float w,
                                  float h);

} // namespace quillon
