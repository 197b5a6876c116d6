#include "document/PrintLayout.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(PrintLayout, PanelTakesTheShortSideAs200) {
    const PanelLayout portrait = PanelLayoutFor(4800, 6600, false);
    EXPECT_EQ(portrait.Width, 200);
    EXPECT_EQ(portrait.Height, 275);
    const PanelLayout landscape = PanelLayoutFor(6600, 4800, true);
    EXPECT_EQ(landscape.Width, 275);
    EXPECT_EQ(landscape.Height, 200);
    EXPECT_FLOAT_EQ(landscape.PreviewScale, portrait.PreviewScale);
    EXPECT_THROW(PanelLayoutFor(0, 6600, false), PictureError);
}

TEST(PrintLayout, PhotoSizesAreInchesAtThePrintersResolution) {
    struct Case {
        const char* name;
        CustomSize choice;
        bool landscape;
        int sw, sh;
        float cellW, cellH;
        double scale;
        int percent;
    };
    // A printable area of 8 x 11 inches at 600 dots an inch.
    const Case cases[] = {
        // 4 in wide at 600 dpi is 2400 dots: 600 pixels x 4.
        {"4x6 wide picture", CustomSize::Size4x6, false, 600, 400, 2400, 3600, 4.0, 400},
        // 6 in tall is 3600 dots: 800 pixels x 4.5.
        {"4x6 tall picture", CustomSize::Size4x6, false, 400, 800, 2400, 3600, 4.5, 450},
        {"fit to page", CustomSize::FitToPage, false, 600, 400, 4800, 6600, 8.0, 800},
        {"fit to a landscape page", CustomSize::FitToPage, true, 600, 400, 6600, 4800, 11.0, 1100},
        {"3x5", CustomSize::Size3x5, false, 600, 400, 1800, 3000, 3.0, 300},
        // Exactly the box's proportions: both directions fit.
        {"6x4 landscape", CustomSize::Size6x4, true, 600, 400, 3600, 2400, 6.0, 600},
        {"5x3", CustomSize::Size5x3, false, 1000, 400, 3000, 1800, 3.0, 300},
        // 2400 / 700 = 3.428...: the edits round it, the scale stays exact.
        {"4x6 of an odd width", CustomSize::Size4x6, false, 700, 400, 2400, 3600, 2400.0 / 700,
         343},
    };
    for (const Case& c : cases) {
        const int pw = c.landscape ? 6600 : 4800, ph = c.landscape ? 4800 : 6600;
        const CustomLayout l = CustomLayoutFor(c.choice, pw, ph, 600, c.sw, c.sh);
        EXPECT_FLOAT_EQ(l.CellWidth, c.cellW) << c.name;
        EXPECT_FLOAT_EQ(l.CellHeight, c.cellH) << c.name;
        EXPECT_TRUE(l.SetsPercent) << c.name;
        EXPECT_DOUBLE_EQ(l.Scale, c.scale) << c.name;
        EXPECT_EQ(l.Percent, c.percent) << c.name;
    }
    const CustomLayout none = CustomLayoutFor(CustomSize::None, 4800, 6600, 600, 1000, 800);
    EXPECT_FALSE(none.SetsPercent);
    EXPECT_EQ(none.Scale, 1.0);
    EXPECT_EQ(none.CellWidth, 1000);
    EXPECT_EQ(none.CellHeight, 800);
    EXPECT_THROW(CustomLayoutFor(CustomSize::Size4x6, 4800, 6600, 0, 10, 10), PictureError);
}

TEST(PrintLayout, APhotoSizeIsTheSameInchesAtAnyResolution) {
    // "6 x 4" with a 4:3 photo: 4 in tall decides, so 5.33 x 4 in.
    for (int dpi : {72, 100, 300, 360, 600, 1200}) {
        const CustomLayout l =
            CustomLayoutFor(CustomSize::Size6x4, 8 * dpi, 10 * dpi, dpi, 1600, 1200);
        EXPECT_NEAR(PrintedExtent(1600, l.Scale) / double(dpi), 16.0 / 3, 1.0 / dpi) << dpi;
        EXPECT_EQ(PrintedExtent(1200, l.Scale), 4 * dpi) << dpi;
    }
    EXPECT_FALSE(PhotoBoxOf(CustomSize::None));
    EXPECT_FALSE(PhotoBoxOf(CustomSize::FitToPage));
    EXPECT_EQ(PhotoBoxOf(CustomSize::Size3x5)->Width, 3);
    EXPECT_EQ(PhotoBoxOf(CustomSize::Size5x3)->Width, 5);
}

TEST(PrintLayout, APercentEditKeepsTheChoicesExactScaleUntilRetyped) {
    EXPECT_DOUBLE_EQ(ScaleOfPercentEdit(343, true, 2400.0 / 700), 2400.0 / 700);
    EXPECT_DOUBLE_EQ(ScaleOfPercentEdit(350, false, 2400.0 / 700), 3.5);
}

TEST(PrintLayout, AlignmentAndPreviewExtent) {
    EXPECT_EQ(AlignedStart(AlignChoice::Start, 200, 25), 2);
    EXPECT_EQ(AlignedStart(AlignChoice::Center, 200, 25), 100 - 12);
    EXPECT_EQ(AlignedStart(AlignChoice::End, 200, 25), 173);
    const PanelLayout p = PanelLayoutFor(4800, 6600, false);
    EXPECT_EQ(PreviewExtent(100, 600, p.ScaleX), 25);
    EXPECT_EQ(PreviewExtent(376, 600, p.ScaleX), 94); // 94.0 exactly: 376 x 0.25
    EXPECT_EQ(PreviewExtent(50, 7, p.ScaleX), 0);
}

TEST(PrintLayout, FullSheetCopiesOfA1000x800Picture) {
    const auto copies = FullSheetCopies(1000, 800, 4800, 6600, 1000, 800);
    std::vector<int> xs, ys;
    for (const Rect& r : copies) {
        if (r.Top == 20) xs.push_back(r.Left);
        if (r.Left == 20) ys.push_back(r.Top);
        EXPECT_EQ(r.Width(), 1000);
        EXPECT_EQ(r.Height(), 800);
        EXPECT_LE(r.Bottom, 6600);
    }
    EXPECT_EQ(xs, (std::vector<int>{20, 1040, 2060, 3080}));
    EXPECT_EQ(ys, (std::vector<int>{20, 840, 1660, 2480, 3300, 4120, 4940, 5760}));
    EXPECT_EQ(copies.size(), 4u * 8u);
    // Cells larger than the page lay out nothing; empty cells never hang.
    EXPECT_TRUE(FullSheetCopies(5000, 800, 4800, 6600, 5000, 800).empty());
    EXPECT_TRUE(FullSheetCopies(0, 0, 4800, 6600, 0, 0).empty());
}

TEST(PrintLayout, PreviewGridAndPrintTarget) {
    // 1000 x 800 at 100 %: 41.67 x 33.33 preview cells in a 200 x 275 panel.
    const PanelLayout p = PanelLayoutFor(4800, 6600, false);
    const auto cols = PreviewGridStarts(1000 * p.PreviewScale, p.Width);
    EXPECT_EQ(cols, (std::vector<int>{1, 43, 85, 127, 169}));
    EXPECT_EQ(PreviewGridStarts(0.0f, 4).size(), 3u);
    // The preview at (88, 2) in a 200-wide panel prints from 88 x 24 = 2112.
    const Rect r = PrintTarget(p, 4800, 6600, 88, 2, AlignChoice::Start, AlignChoice::Start, 3.76,
                               3.76, 600, 400);
    EXPECT_EQ(r, (Rect{2112, 48, 2112 + 2256, 48 + 1504}));
    // Centred, a picture as wide as the page starts at its very edge, what
    // ever the coarse preview says; the size rounds to the nearest dot.
    const Rect fit = PrintTarget(p, 4800, 6600, 1, 90, AlignChoice::Center, AlignChoice::Center,
                                 8.0, 8.0, 600, 400);
    EXPECT_EQ(fit, (Rect{0, 1700, 4800, 1700 + 3200}));
    const Rect odd = PrintTarget(p, 4800, 6600, 2, 2, AlignChoice::Start, AlignChoice::End,
                                 2400.0 / 700, 2400.0 / 700, 700, 401);
    EXPECT_EQ(odd.Width(), 2400);
    EXPECT_EQ(odd.Height(), 1375); // 401 x 3.4286 = 1374.86
}
