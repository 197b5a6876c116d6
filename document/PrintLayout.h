// The print dialog's layout arithmetic as plain functions: the page panel
// and its scale, the preview extents of the percent edits, the photo sizes
// and "Fit to page" measured on the printer's own resolution and printable
// area, alignment, the full-sheet grids of the preview and of the printed
// page, and the printed rectangle. The widget only shows the results.
// The preview's floats are single precision and truncate toward zero, so
// preview and panel agree with these numbers exactly; the printed size
// comes from the exact scale, rounded to the nearest printer dot.
#pragma once

#include "canvas/Types.h"

#include <optional>
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

// The box a photo size prints into, in inches as it lies on the paper
// ("4 x 6" is 4 inches wide and 6 tall, whatever the page's orientation).
struct PhotoBox {
    double Width = 0;
    double Height = 0;
};
// The photo sizes' boxes; none for "None" and "Fit to page".
std::optional<PhotoBox> PhotoBoxOf(CustomSize choice);

struct CustomLayout {
    float CellWidth = 0; // printer pixels of one copy's cell
    float CellHeight = 0;
    bool SetsPercent = false; // false for "None", whose percent is 100
    // Printer dots per picture pixel: the picture fits the box exactly.
    double Scale = 1;
    int Percent = 100; // what both percent edits show: Scale x 100, rounded
};

// A size choice for a picture of sw x sh pixels on a printable area of
// pw x ph dots at dpi dots an inch. A photo size's box is its inches at dpi;
// "Fit to page" fills the printable area. Throws for a resolution below 1.
CustomLayout CustomLayoutFor(CustomSize choice, int pw, int ph, int dpi, int sw, int sh);

// The scale a percent edit stands for: the exact scale of the last size
// choice while the edit still shows the percent that choice put there, else
// the percent typed.
double ScaleOfPercentEdit(float typedPercent, bool showsChoice, double choiceScale);

// The left (or top) of an image of `extent` in a panel of `panel`.
int AlignedStart(AlignChoice choice, int panel, int extent);

// The grid starts of the full-sheet preview in one direction: 1, then
// trunc(cell + 1 + previous), while below limit. The last start is the
// extent of the full-sheet picture; copies are drawn at every start.
std::vector<int> PreviewGridStarts(float cellPreview, int limit);

// A picture extent in printer dots: source pixels x scale, to the nearest dot.
int PrintedExtent(int source, double scale);

// The printed rectangle without full sheet: the size is the picture's at
// scaleX x scaleY printer dots a pixel. A centred picture is centred on the
// printable area exactly; otherwise the preview position is scaled to the
// page.
Rect PrintTarget(const PanelLayout& panel, int pw, int ph, int previewLeft, int previewTop,
                 AlignChoice horizontal, AlignChoice vertical, double scaleX, double scaleY, int sw,
                 int sh);

// The copies on a full sheet: rows from (20, 20) with a gap of 20, each cell
// cellWidth x cellHeight, each picture w x h printer dots.
std::vector<Rect> FullSheetCopies(float cellWidth, float cellHeight, int pw, int ph, int w, int h);

} // namespace quillon
