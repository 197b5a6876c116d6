#include "frames/DropShadowFrame.h"
#include "canvas/Canvas.h"
#include "formats/DataPaths.h"
#include "formats/Formats.h"
#include "tests/frames/GeoStyleTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

using namespace quillon;

TEST(FlatShadow, PolygonForSpacingTwenty) {
    const auto p = FlatShadowPolygon(300, 200, 20, 20);
    const std::array<Point, 7> expected = {
        {{280, 30}, {290, 30}, {290, 190}, {30, 190}, {30, 180}, {280, 180}, {280, 30}}};
    EXPECT_EQ(p, expected);
}

namespace {
constexpr int kPiece = 6;
const Color kPieceColours[] = {kRed, kLime, kBlue, RGB(255, 255, 0), RGB(255, 0, 255)};
const char* const kPieceNames[] = {"ru.res", "rc.res", "rl.res", "ll.res", "lc.res"};

// A start folder holding five solid-colour pieces, so that where each piece
// lands can be read off the output.
class RealisticShadow : public ::testing::Test {
protected:
    void SetUp() override {
        oldStart_ = StartFolder();
        dir_ = TempDir("realistic-shadow");
        for (int i = 0; i < 5; ++i) {
            Bitmap piece(kPiece, kPiece, PixelFormat::Bgr24);
            for (int y = 0; y < kPiece; ++y)
                for (int x = 0; x < kPiece; ++x) piece.SetPixel(x, y, kPieceColours[i]);
            // Upper-case names on disk: the lookup ignores letter case.
            std::string name = kPieceNames[i];
            for (char& ch : name) ch = char(std::toupper(static_cast<unsigned char>(ch)));
            SaveBmpFile(piece, dir_ + "/" + name);
        }
        SetStartFolder(dir_);
    }
    void TearDown() override { SetStartFolder(oldStart_); }

    std::unique_ptr<DropShadowFrame> Frame(const Bitmap& photo) {
        FrameArgs a;
        a.frameWidth = a.frameHeight = 12;
        a.expand = true;
        a.frameColor = kGray;
        a.borderColor = kBlack;
        return MakeFrame<DropShadowFrame>(photo, a);
    }

    std::string oldStart_, dir_;
};
} // namespace

// A 60 x 40 photo with spacing 12 gives an 84 x 64 output: the right run at
// x = 72 from y = 16, the bottom run at y = 52 from x = 16.
TEST_F(RealisticShadow, PiecesLandWhereTheLayoutPutsThem) {
    auto photo = MakeTestPhoto(60, 40);
    auto frame = Frame(*photo);
    const Bitmap& o = *frame->Output;
    struct {
        int x, y;
        Color c;
        const char* what;
    } probes[] = {
        {74, 18, kRed, "upper end"},
        {74, 15, kWhite, "above the upper end"},
        {74, 30, kLime, "right run"},
        {77, 45, kLime, "last looped tile"},
        {74, 49, kLime, "closing right tile"},
        {74, 54, kBlue, "corner"},
        {18, 54, kPieceColours[3], "left end"},
        {15, 54, kWhite, "left of the left end"},
        {40, 54, kPieceColours[4], "bottom run"},
        {70, 57, kPieceColours[4], "closing bottom tile"},
        {71, 30, kBlack, "border line"},
        {12, 12, kBlack, "border corner"},
        {30, 30, photo->Pixel(18, 18), "photo"},
    };
    for (const auto& p : probes) EXPECT_EQ(o.Pixel(p.x, p.y), p.c) << p.what;
}

TEST_F(RealisticShadow, ShortSidesDrawOnlyTheClosingTiles) {
    // Photo 14 x 12: H - 2 fh = 12 <= 2t + 4, so the right run loop draws
    // nothing and the closing tile alone sits at y = H - fh - t = 18, over the
    // lower part of the upper end.
    auto photo = MakeTestPhoto(14, 12);
    auto frame = Frame(*photo);
    const Bitmap& o = *frame->Output;
    EXPECT_EQ(o.Pixel(26, 17), kRed);
    EXPECT_EQ(o.Pixel(26, 18), kLime);
    EXPECT_EQ(o.Pixel(26, 23), kLime);
    EXPECT_EQ(o.Pixel(26, 24), kBlue);
}

TEST_F(RealisticShadow, GivenWidthScalesThePiecesTheirStepAndOffset) {
    // The 6-pixel pieces drawn 12 wide: the offset of 4 becomes 8 and the
    // runs step by 12. Photo 60 x 40 at 12..71 x 12..51 of an 84 x 64 output.
    auto photo = MakeTestPhoto(60, 40);
    auto frame = Frame(*photo);
    EXPECT_EQ(frame->BorderWidthField(), kPiece);
    frame->ChangeBorderWidth(12);
    EXPECT_EQ(frame->BorderWidthField(), 12);
    frame->ClearOutput();
    frame->DrawPictureCentred();
    frame->Paint();
    const Bitmap& o = *frame->Output;
    EXPECT_EQ(o.Pixel(72, 19), kWhite);
    EXPECT_EQ(o.Pixel(72, 20), kRed);
    EXPECT_EQ(o.Pixel(83, 31), kRed);
    EXPECT_EQ(o.Pixel(83, 32), kLime);
    EXPECT_EQ(o.Pixel(83, 51), kLime);
    EXPECT_EQ(o.Pixel(72, 52), kBlue);
    EXPECT_EQ(o.Pixel(83, 63), kBlue);
    EXPECT_EQ(o.Pixel(19, 52), kWhite);
    EXPECT_EQ(o.Pixel(20, 52), RGB(255, 255, 0));
    EXPECT_EQ(o.Pixel(31, 63), RGB(255, 255, 0));
    EXPECT_EQ(o.Pixel(32, 52), RGB(255, 0, 255));
    EXPECT_EQ(o.Pixel(71, 63), RGB(255, 0, 255));
}

TEST_F(RealisticShadow, WidthOutsideItsRangeIsIgnored) {
    auto photo = MakeTestPhoto(60, 40);
    auto frame = Frame(*photo);
    frame->ChangeBorderWidth(9);
    for (int bad : {0, -3, frame->BorderWidthLimit() + 1}) {
        frame->ChangeBorderWidth(bad);
        EXPECT_EQ(frame->BorderWidthField(), 9) << bad;
    }
    // The flat shadow's outline keeps its own width.
    EXPECT_EQ(frame->BorderWidth, 1);
}

TEST_F(RealisticShadow, MissingPieceIsAnErrorNamingItAndKeepsWhatWasDrawn) {
    auto photo = MakeTestPhoto(60, 40);
    auto frame = Frame(*photo);
    std::filesystem::remove(dir_ + "/RL.RES");
    frame->ClearOutput();
    frame->DrawPictureCentred();
    try {
        frame->Paint();
        FAIL() << "no error for a missing piece";
    } catch (const PictureError& e) {
        EXPECT_NE(std::string(e.what()).find("rl.res"), std::string::npos) << e.what();
    }
    const Bitmap& o = *frame->Output;
    EXPECT_EQ(o.Pixel(74, 18), kRed);
    EXPECT_EQ(o.Pixel(74, 30), kLime);
    EXPECT_EQ(o.Pixel(74, 54), kWhite);
    EXPECT_EQ(o.Pixel(40, 54), kWhite);
}

TEST_F(RealisticShadow, FramedPhotoMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    auto frame = Frame(*photo);
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-shadow-realistic"));
}

TEST_F(RealisticShadow, FlatShadowMatchesGolden) {
    auto photo = MakeTestPhoto(120, 90);
    auto frame = Frame(*photo);
    frame->StretchPicture = false;
    frame->SetBorderWidth(2);
    frame->ClearOutput();
    frame->DrawPictureCentred();
    frame->Paint();
    EXPECT_TRUE(MatchesGolden(*frame->Output, "style-shadow-flat"));
}
