#include "frames/MatteFrames.h"

#include "tests/frames/DecorTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace quillon;

namespace {

constexpr Color kPhoto = RGB(10, 200, 30);
constexpr Color kFrame = RGB(150, 150, 150);
constexpr Color kBorder = RGB(0, 0, 120);
constexpr Color kPattern = RGB(220, 180, 40);
const std::map<char, Color> kLegend = {
    {'P', kPhoto}, {'F', kFrame}, {'B', kBorder}, {'K', kPattern}};

// A 6 x 4 photo in a 4-pixel band: the output is 14 x 12.
template <class Frame> std::unique_ptr<Frame> MakeFrame(int bw, Color frameColor = kFrame) {
    const auto photo = SolidPhoto(6, 4, kPhoto);
    return std::make_unique<Frame>(*photo,
                                   MakeFrameSettings(4, 4, frameColor, kBorder, true, bw, kWhite));
}

// A one-colour pattern, so a filled pixel shows as 'K'.
void ChoosePattern(FrameStyle& f) {
    f.PatternPicture = std::make_unique<Bitmap>(3, 3, PixelFormat::Bgrx32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) f.PatternPicture->SetPixel(x, y, kPattern);
    f.PatternName = "pattern.bmp";
}

TEST(MatteFrame, BorderRingsLieOnThePhotoEdgeAndTheOutputEdge) {
    auto f = MakeFrame<MatteFrame>(1);
    // The inner ring covers the photo's top row and left column, and runs just
    // outside its right and bottom edges.
    EXPECT_PIXELS(*f->Output, kLegend,
                  ({"BBBBBBBBBBBBBB", "BFFFFFFFFFFFFB", "BFFFFFFFFFFFFB", "BFFFFFFFFFFFFB",
                    "BFFFBBBBBBBFFB", "BFFFBPPPPPBFFB", "BFFFBPPPPPBFFB", "BFFFBPPPPPBFFB",
                    "BFFFBBBBBBBFFB", "BFFFFFFFFFFFFB", "BFFFFFFFFFFFFB", "BBBBBBBBBBBBBB"}));
}

TEST(CornerFrame, MitreLinesWithBorderWidthOneEndAtThePhotoCorners) {
    auto f = MakeFrame<CornerFrame>(1);
    EXPECT_PIXELS(*f->Output, kLegend,
                  ({"BBBBBBBBBBBBBB", "BBFFFFFFFFFFFB", "BFBFFFFFFFFFBB", "BFFBFFFFFFFBFB",
                    "BFFFBBBBBBBFFB", "BFFFBPPPPPBFFB", "BFFFBPPPPPBFFB", "BFFFBPPPPPBFFB",
                    "BFFFBBBBBBBFFB", "BFFBFFFFFFFBFB", "BFBFFFFFFFFFBB", "BBBBBBBBBBBBBB"}));
}

TEST(MatteFrame, PatternFillsTheWholeBandAndStopsAtTheBorders) {
    auto f = MakeFrame<MatteFrame>(1);
    ChoosePattern(*f);
    f->Paint();
    EXPECT_PIXELS(*f->Output, kLegend,
                  ({"BBBBBBBBBBBBBB", "BKKKKKKKKKKKKB", "BKKKKKKKKKKKKB", "BKKKKKKKKKKKKB",
                    "BKKKBBBBBBBKKB", "BKKKBPPPPPBKKB", "BKKKBPPPPPBKKB", "BKKKBPPPPPBKKB",
                    "BKKKBBBBBBBKKB", "BKKKKKKKKKKKKB", "BKKKKKKKKKKKKB", "BBBBBBBBBBBBBB"}));
}

TEST(CornerFrame, MitreLinesAreDrawnOverThePattern) {
    auto f = MakeFrame<CornerFrame>(1);
    ChoosePattern(*f);
    f->Paint();
    EXPECT_EQ(f->Output->Pixel(2, 2), kBorder);
    EXPECT_EQ(f->Output->Pixel(2, 1), kPattern);
    EXPECT_EQ(f->Output->Pixel(12, 9), kPattern);
}

// Cases where the pattern must not appear although one is chosen.
struct NoFillCase {
    const char* name;
    int borderWidth;
    Color frameColor;
};

class PatternNotApplied : public ::testing::TestWithParam<NoFillCase> {};

TEST_P(PatternNotApplied, BandKeepsItsColour) {
    const NoFillCase& c = GetParam();
    auto f = MakeFrame<MatteFrame>(c.borderWidth, c.frameColor);
    ChoosePattern(*f);
    f->Paint();
    for (int y = 0; y < f->Output->Height(); ++y)
        for (int x = 0; x < f->Output->Width(); ++x)
            ASSERT_NE(f->Output->Pixel(x, y), kPattern) << "at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(ContinuousFrame, PatternNotApplied,
                         ::testing::Values(NoFillCase{"BorderWidthZero", 0, kFrame},
                                           // fw/2 = 2 < 3: the seed lies on the outer border.
                                           NoFillCase{"SeedOnTheOuterBorder", 3, kFrame},
                                           NoFillCase{"FrameColourIsTheBorderColour", 1, kBorder}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MatteFrame, BorderWidthZeroRepaintsOnlyTheBand) {
    auto f = MakeFrame<MatteFrame>(0);
    EXPECT_PIXELS(*f->Output, kLegend,
                  ({"FFFFFFFFFFFFFF", "FFFFFFFFFFFFFF", "FFFFFFFFFFFFFF", "FFFFFFFFFFFFFF",
                    "FFFFFFFFFFFFFF", "FFFFFPPPPPFFFF", "FFFFFPPPPPFFFF", "FFFFFPPPPPFFFF",
                    "FFFFFFFFFFFFFF", "FFFFFFFFFFFFFF", "FFFFFFFFFFFFFF", "FFFFFFFFFFFFFF"}));
}

TEST(CornerFrame, RepaintingWithTheSameParametersGivesTheSamePicture) {
    auto f = MakeFrame<CornerFrame>(2);
    ChoosePattern(*f);
    f->Paint();
    Bitmap first;
    first.Assign(*f->Output);
    f->Paint();
    for (int y = 0; y < first.Height(); ++y)
        for (int x = 0; x < first.Width(); ++x)
            ASSERT_EQ(f->Output->Pixel(x, y), first.Pixel(x, y)) << x << "," << y;
}

// Golden pictures: a 120 x 90 photo with a wood-like striped pattern.
std::unique_ptr<Bitmap> StripedPattern() {
    auto p = std::make_unique<Bitmap>(16, 16, PixelFormat::Bgrx32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            p->SetPixel(x, y, (y / 4) % 2 ? RGB(160, 110, 60) : RGB(200, 150, 90) + (x % 3));
    return p;
}

template <class Frame> std::unique_ptr<Frame> GoldenFrame(int bw, bool pattern) {
    const auto photo = MakeTestPhoto(120, 90);
    auto f = std::make_unique<Frame>(
        *photo, MakeFrameSettings(14, 10, RGB(128, 128, 128), kBlack, true, bw, kWhite));
    if (pattern) {
        f->PatternPicture = StripedPattern();
        f->PatternName = "stripes.bmp";
        f->Paint();
    }
    return f;
}

TEST(CornerFrame, MatchesGolden) {
    EXPECT_TRUE(MatchesGolden(*GoldenFrame<CornerFrame>(3, true)->Output, "standard-frame"));
}

TEST(MatteFrame, MatchesGolden) {
    EXPECT_TRUE(MatchesGolden(*GoldenFrame<MatteFrame>(2, true)->Output, "continuous-frame"));
}

// A mat cut deeper at the bottom, as museum mats are.
template <class Frame> std::unique_ptr<Frame> BottomWeighted(int bw) {
    auto f = GoldenFrame<Frame>(bw, true);
    FrameStyle::Sides sides;
    sides.left = 12;
    sides.top = 9;
    sides.bottom = 24;
    f->ChangeSides(sides);
    f->Paint();
    return f;
}

TEST(MatteFrame, SidesOfTheirOwnPlaceThePhotoAndGrowTheOutput) {
    auto f = BottomWeighted<MatteFrame>(2);
    EXPECT_EQ(f->LeftSide(), 12);
    EXPECT_EQ(f->RightSide(), 14); // the frame width still serves the right
    EXPECT_EQ(f->OutputWidth, 12 + 120 + 14);
    EXPECT_EQ(f->OutputHeight, 9 + 90 + 24);
    // The photo's top-left pixel lies just inside the left and top sides
    // (its first row and column carry the inner border ring).
    const auto photo = MakeTestPhoto(120, 90);
    EXPECT_EQ(f->Output->Pixel(12 + 5, 9 + 5), photo->Pixel(5, 5));
    EXPECT_EQ(f->Output->Pixel(12 + 100, 9 + 80), photo->Pixel(100, 80));
    // Out-of-range sides are ignored; a new frame height evens top and bottom.
    FrameStyle::Sides bad;
    bad.top = -1;
    bad.bottom = 100000;
    f->ChangeSides(bad);
    EXPECT_EQ(f->TopSide(), 9);
    f->ChangeFrameHeight(10);
    EXPECT_EQ(f->TopSide(), 10);
    EXPECT_EQ(f->BottomSide(), 10);
    EXPECT_EQ(f->OutputHeight, 110);
}

TEST(MatteFrame, BottomWeightedMatchesGolden) {
    EXPECT_TRUE(MatchesGolden(*BottomWeighted<MatteFrame>(2)->Output, "matte-bottom-weighted"));
}

TEST(CornerFrame, BottomWeightedMitresMeetThePhotoCorners) {
    EXPECT_TRUE(MatchesGolden(*BottomWeighted<CornerFrame>(3)->Output, "corner-bottom-weighted"));
}

} // namespace
