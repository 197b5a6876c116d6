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

TEST(PrintLayout, FixedSizesOnA4800x6600Page) {
    struct Case {
        const char* name;
        CustomSize choice;
        bool landscape;
        int sw, sh;
        float cellW, cellH;
        int percent;
    };
    const Case cases[] = {
        // r = 1.5 > 0.6667: the width decides, 2258.8 / 600 = 3.7647.
        {"4x6 wide picture", CustomSize::Size4x6, false, 600, 400, 2258.8235f, 3600.0f, 376},
        // r = 0.5 <= 0.6667: the height decides, 3600 / 800 = 4.5.
        {"4x6 tall picture", CustomSize::Size4x6, false, 400, 800, 2258.8235f, 3600.0f, 450},
        {"fit to page", CustomSize::FitToPage, false, 600, 400, 4517.647f, 6300.0f, 752},
        {"3x5", CustomSize::Size3x5, false, 600, 400, 1694.1176f, 3000.0f, 282},
        // r = 1.5 is not above the threshold 1.5: the height decides.
        {"6x4 landscape at the threshold", CustomSize::Size6x4, true, 600, 400, 3600.0f, 2258.8235f,
         564},
        {"5x3 landscape", CustomSize::Size5x3, true, 1000, 400, 3000.0f, 1694.1176f, 300},
    };
    for (const Case& c : cases) {
        const int pw = c.landscape ? 6600 : 4800, ph = c.landscape ? 4800 : 6600;
        const CustomLayout l = CustomLayoutFor(c.choice, pw, ph, c.landscape, c.sw, c.sh);
        EXPECT_NEAR(l.CellWidth, c.cellW, 0.01) << c.name;
        EXPECT_NEAR(l.CellHeight, c.cellH, 0.01) << c.name;
        EXPECT_TRUE(l.SetsPercent) << c.name;
        EXPECT_EQ(l.Percent, c.percent) << c.name;
    }
    const CustomLayout none = CustomLayoutFor(CustomSize::None, 4800, 6600, false, 1000, 800);
    EXPECT_FALSE(none.SetsPercent);
    EXPECT_EQ(none.CellWidth, 1000);
    EXPECT_EQ(none.CellHeight, 800);
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
    const Rect r = PrintTarget(p, 4800, 6600, 88, 2, 376, 376, 600, 400);
    EXPECT_EQ(r, (Rect{2112, 48, 2112 + 2256, 48 + 1504}));
}
