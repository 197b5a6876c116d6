#include "document/PrintLayout.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace quillon {

namespace {

constexpr int kPrintGap = 20;

// The photo sizes in CustomSize order after "Fit to page".
constexpr PhotoBox kPhotoBoxes[] = {{4, 6}, {3, 5}, {6, 4}, {5, 3}};

int Trunc(double v) {
    return int(v);
}

} // namespace

PanelLayout PanelLayoutFor(int pw, int ph, bool landscape) {
    if (pw <= 0 || ph <= 0)
        throw PictureError("The printer reports an empty page (" + std::to_string(pw) + " x " +
                           std::to_string(ph) + " dots).");
    PanelLayout p;
    p.PreviewScale = 200.0f / float(landscape ? ph : pw);
    p.Width = Trunc(double(pw) * p.PreviewScale);
    p.Height = Trunc(double(ph) * p.PreviewScale);
    p.ScaleX = float(p.Width) / float(pw);
    p.ScaleY = float(p.Height) / float(ph);
    return p;
}

int PreviewExtent(float percent, int source, float panelScale) {
    return Trunc(double(percent) * 0.01 * (double(source) * panelScale));
}

std::optional<PhotoBox> PhotoBoxOf(CustomSize choice) {
    const int i = int(choice) - int(CustomSize::Size4x6);
    if (i < 0 || i >= int(std::size(kPhotoBoxes))) return std::nullopt;
    return kPhotoBoxes[i];
}

CustomLayout CustomLayoutFor(CustomSize choice, int pw, int ph, int dpi, int sw, int sh) {
    CustomLayout c;
    if (choice == CustomSize::None || sw <= 0 || sh <= 0) {
        c.CellWidth = float(sw);
        c.CellHeight = float(sh);
        return c;
    }
    if (dpi < 1)
        throw PictureError("The printer reports no resolution (" + std::to_string(dpi) +
                           " dots an inch).");
    double boxWidth = pw, boxHeight = ph;
    if (const auto box = PhotoBoxOf(choice)) {
        boxWidth = box->Width * dpi;
        boxHeight = box->Height * dpi;
    }
    c.CellWidth = float(boxWidth);
    c.CellHeight = float(boxHeight);
    // The picture fits the box: the tighter of the two directions decides.
    c.Scale = std::min(boxWidth / sw, boxHeight / sh);
    c.SetsPercent = true;
    c.Percent = int(std::lround(100.0 * c.Scale));
    return c;
}

double ScaleOfPercentEdit(float typedPercent, bool showsChoice, double choiceScale) {
    return showsChoice ? choiceScale : double(typedPercent) / 100.0;
}

int AlignedStart(AlignChoice choice, int panel, int extent) {
    switch (choice) {
    case AlignChoice::Center:
        return panel / 2 - extent / 2;
    case AlignChoice::End:
        return panel - extent - 2;
    default:
        return 2;
    }
}

std::vector<int> PreviewGridStarts(float cellPreview, int limit) {
    std::vector<int> starts;
    // A cell below one preview pixel still advances by 1, so the loop ends.
    for (int v = 1; v < limit; v = Trunc(double(cellPreview) + 1 + v)) starts.push_back(v);
    if (starts.empty()) starts.push_back(1);
    return starts;
}

int PrintedExtent(int source, double scale) {
    return int(std::lround(double(source) * scale));
}

Rect PrintTarget(const PanelLayout& panel, int pw, int ph, int previewLeft, int previewTop,
                 AlignChoice horizontal, AlignChoice vertical, double scaleX, double scaleY, int sw,
                 int sh) {
    const int w = PrintedExtent(sw, scaleX);
    const int h = PrintedExtent(sh, scaleY);
    Rect r;
    // The preview is far coarser than the page (a preview pixel is dozens of
    // dots), so a centred picture is centred on the page itself: a picture
    // that fits the page exactly must not be pushed over its edge.
    r.Left = horizontal == AlignChoice::Center ? (pw - w) / 2
                                               : Trunc(double(pw) / panel.Width * previewLeft);
    r.Top = vertical == AlignChoice::Center ? (ph - h) / 2
                                            : Trunc(double(ph) / panel.Height * previewTop);
    r.Right = r.Left + w;
    r.Bottom = r.Top + h;
    return r;
}

std::vector<Rect> FullSheetCopies(float cellWidth, float cellHeight, int pw, int ph, int w, int h) {
    std::vector<Rect> copies;
    // Cells of no size would never fill the page: nothing is laid out.
    if (!(cellWidth > 0 && cellHeight > 0)) return copies;
    for (int y = kPrintGap; y < ph; y = Trunc(double(cellHeight) + kPrintGap + y)) {
        for (int x = kPrintGap; x < pw; x = Trunc(double(cellWidth) + kPrintGap + x)) {
            if (y + double(cellHeight) > ph || x + double(cellWidth) > pw) break;
            copies.push_back({x, y, x + w, y + h});
        }
    }
    return copies;
}

} // namespace quillon
