// The undo history's compressed pictures: what is unpacked is exactly what
// was packed, in every pixel format, and a photo takes far less room.
#include "document/PackedPicture.h"
#include "document/UndoHistory.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillon;

namespace {

bool SamePicture(const Bitmap& a, const Bitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() && a.format() == b.format() &&
           a.Palette() == b.Palette() && a.Transparent == b.Transparent &&
           a.TransparentColor == b.TransparentColor &&
           std::equal(a.Bits(), a.Bits() + a.Stride() * std::size_t(a.Height()), b.Bits());
}

// Every byte of every pixel comes back, the unused fourth byte too, in
// pictures of one band and of many, and in an empty one.
TEST(PackedPicture, UnpacksExactlyWhatWasPacked) {
    std::mt19937 rng(9);
    for (PixelFormat pf : {PixelFormat::Device, PixelFormat::Bgrx32, PixelFormat::Bgr24,
                           PixelFormat::Indexed8, PixelFormat::Indexed4, PixelFormat::Indexed1}) {
        for (auto [w, h] : {std::pair{1, 1}, {37, 5}, {1500, 900}, {0, 0}}) {
            SCOPED_TRACE(testing::Message() << int(pf) << ": " << w << "x" << h);
            Bitmap b(w, h, pf);
            if (b.IsIndexed()) b.Palette() = {kRed, kBlue};
            b.Transparent = pf == PixelFormat::Indexed8;
            b.TransparentColor = kBlue;
            for (int y = 0; y < h; ++y)
                for (std::size_t i = 0; i < b.Stride(); ++i)
                    b.ScanLine(y)[i] = std::uint8_t(b.IsIndexed() ? rng() % 2 : rng());
            PackedPicture packed;
            packed.Pack(b);
            EXPECT_EQ(packed.Width(), w);
            EXPECT_EQ(packed.Height(), h);
            const auto back = packed.Unpack();
            ASSERT_TRUE(SamePicture(*back, b));
            // Packing again replaces the earlier picture.
            Bitmap small(2, 3, PixelFormat::Bgr24);
            small.SetPixel(1, 2, kLime);
            packed.Pack(small);
            ASSERT_TRUE(SamePicture(*packed.Unpack(), small));
        }
    }
}

// A photo's rows, turned into differences, shrink to a small part of their
// size: that is what lets ten undo steps of a large photo fit.
TEST(PackedPicture, APhotoTakesAFractionOfItsSize) {
    const auto photo = MakeTestPhoto(1200, 800);
    PackedPicture packed;
    packed.Pack(*photo);
    const std::size_t raw = photo->Stride() * std::size_t(photo->Height());
    EXPECT_LT(packed.PackedBytes(), raw / 4);
    EXPECT_TRUE(SamePicture(*packed.Unpack(), *photo));
}

TEST(UndoHistory, EachEntryGivesBackItsOwnPicture) {
    UndoHistory history;
    std::vector<std::unique_ptr<Bitmap>> pushed;
    for (int i = 0; i < 13; ++i) {
        pushed.push_back(MakeTestPhoto(50 + i, 40));
        pushed.back()->SetPixel(i, i, RGB(i, 2 * i, 3 * i));
        UndoState state;
        state.photo = PackPhoto(*pushed.back());
        history.Push(std::move(state));
    }
    for (int i = 12; i >= 3; --i) {
        ASSERT_FALSE(history.Empty());
        ASSERT_TRUE(SamePicture(*history.Pop().photo->Unpack(), *pushed[std::size_t(i)])) << i;
    }
    EXPECT_TRUE(history.Empty());
}

} // namespace
