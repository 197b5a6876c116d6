#include "document/PrintLayout.h"

#include <string>

namespace quillon {

namespace {

constexpr int kPrintGap = 20;

struct FixedSize {
    double Portrait[2];  // factors for PW, PH in portrait
    double Landscape[2]; // factors for PW, PH in landscape
    double PortraitThreshold;
    double LandscapeThreshold;
};

// Boxes on a page taken as 8.5 x 11 inches; the factors are the double
// values of the fractions, the threshold the box's own width / height.
const FixedSize kFixedSizes[] = {
    // Fit to page: 8 x 10.5 in portrait, 10.5 x 8 in landscape.
    {{8.0 / 8.5, 10.5 / 11.0}, {10.5 / 11.0, 8.0 / 8.5}, 8.0 / 10.5, 1.3125},
    {{4.0 / 8.5, 6.0 / 11.0}, {4.0 / 11.0, 6.0 / 8.5}, 4.0 / 6.0, 4.0 / 6.0},
    {{3.0 / 8.5, 5.0 / 11.0}, {3.0 / 11.0, 5.0 / 8.5}, 0.6, 0.6},
    {{6.0 / 8.5, 4.0 / 11.0}, {6.0 / 11.0, 4.0 / 8.5}, 1.5, 1.5},
    {{5.0 / 8.5, 3.0 / 11.0}, {5.0 / 11.0, 3.0 / 8.5}, 5.0 / 3.0, 5.0 / 3.0},
};

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

CustomLayout CustomLayoutFor(CustomSize choice, int pw, int ph, bool landscape, int sw, int sh) {
    CustomLayout c;
    if (choice == CustomSize::None || sw <= 0 || sh <= 0) {
        c.CellWidth = float(sw);
        c.CellHeight = float(sh);
        return c;
    }
    const FixedSize& f = kFixedSizes[int(choice) - int(CustomSize::FitToPage)];
    const double* factors = landscape ? f.Landscape : f.Portrait;
    c.CellWidth = float(pw * factors[0]);
    c.CellHeight = float(ph * factors[1]);
    const double threshold = landscape ? f.LandscapeThreshold : f.PortraitThreshold;
    const double r = double(sw) / double(sh);
    const float s = r > threshold ? c.CellWidth / float(sw) : c.CellHeight / float(sh);
    c.SetsPercent = true;
    c.Percent = Trunc(100.0 * double(s));
    return c;
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

Rect PrintTarget(const PanelLayout& panel, int pw, int ph, int previewLeft, int previewTop,
                 float widthPercent, float heightPercent, int sw, int sh) {
    Rect r;
    r.Left = Trunc(double(pw) / panel.Width * previewLeft);
    r.Top = Trunc(double(ph) / panel.Height * previewTop);
    const float w = widthPercent * float(sw) * 0.01f;
    const float h = heightPercent * float(sh) * 0.01f;
    r.Right = Trunc(r.Left + double(w));
    r.Bottom = Trunc(r.Top + double(h));
    return r;
}

std::vector<Rect> FullSheetCopies(float cellWidth, float cellHeight, int pw, int ph, float w,
                                  float h) {
    std::vector<Rect> copies;
    // Cells of no size would never fill the page: nothing is laid out.
    if (!(cellWidth > 0 && cellHeight > 0)) return copies;
    for (int y = kPrintGap; y < ph; y = Trunc(double(cellHeight) + kPrintGap + y)) {
        for (int x = kPrintGap; x < pw; x = Trunc(double(cellWidth) + kPrintGap + x)) {
            if (y + double(cellHeight) > ph || x + double(cellWidth) > pw) break;
            copies.push_back({x, y, Trunc(x + double(w)), Trunc(y + double(h))});
        }
    }
    return copies;
}

} // namespace quillon
