#include "canvas/Bitmap.h"
#include "canvas/Canvas.h"
#include "canvas/PixelReserve.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace quillon;

TEST(Bitmap, NewBitmapIsEmptyDeviceFormatAndOpaque) {
    Bitmap b;
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.format(), PixelFormat::Device);
    EXPECT_FALSE(b.Transparent);
}

TEST(Bitmap, ResizeKeepsTopLeftContent) {
    auto b = BitmapFromArt({"RG", "BW"}, {{'R', kRed}, {'G', kLime}, {'B', kBlue}, {'W', kWhite}});
    b->SetSize(3, 3);
    EXPECT_EQ(b->Pixel(0, 0), kRed);
    EXPECT_EQ(b->Pixel(1, 0), kLime);
    EXPECT_EQ(b->Pixel(0, 1), kBlue);
    EXPECT_EQ(b->Pixel(1, 1), kWhite);
    b->SetSize(1, 1);
    EXPECT_EQ(b->Pixel(0, 0), kRed);
    // To no width and back: the rows go, and come back black.
    b->SetSize(0, 3);
    EXPECT_TRUE(b->Empty());
    b->SetSize(2, 3);
    EXPECT_EQ(b->Pixel(0, 0), kBlack);
}

TEST(Bitmap, FormatConversionsKeepColoursAndClearFourthByte) {
    Bitmap b(2, 1, PixelFormat::Bgr24);
    b.SetPixel(0, 0, 0x123456);
    b.SetPixel(1, 0, 0xABCDEF);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    EXPECT_EQ(b.Pixel(0, 0), 0x123456u);
    EXPECT_EQ(b.Pixel(1, 0), 0xABCDEFu);
    EXPECT_EQ(b.ScanLine(0)[3], 0);
    b.ScanLine(0)[3] = 77;
    b.SetPixelFormat(PixelFormat::Bgr24);
    b.SetPixelFormat(PixelFormat::Device);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    EXPECT_EQ(b.ScanLine(0)[3], 0);
    EXPECT_EQ(b.Pixel(1, 0), 0xABCDEFu);
}

TEST(Bitmap, SizeForOverwriteReusesTheBufferAndRefusesImpossibleSizes) {
    Bitmap b(100, 80, PixelFormat::Bgrx32);
    b.SetSizeForOverwrite(104, 84); // grows: a new buffer with room to spare
    EXPECT_EQ(b.Width(), 104);
    EXPECT_EQ(b.Height(), 84);
    EXPECT_EQ(b.Stride(), 104u * 4);
    EXPECT_EQ(b.format(), PixelFormat::Bgrx32);
    const std::uint8_t* bits = b.Bits();
    // Steps back and forth within the room keep the same pixels' memory.
    for (int d : {-2, 2, 0, 1, -40}) {
        b.SetSizeForOverwrite(104 + d, 84 + d);
        EXPECT_EQ(b.Bits(), bits);
        EXPECT_EQ(b.Width(), 104 + d);
        EXPECT_EQ(b.Height(), 84 + d);
    }
    // Every pixel of the new size is writable.
    b.SetSizeForOverwrite(108, 88);
    b.canvas().brush.SetColor(kRed);
    b.canvas().FillRect(Rect(0, 0, 108, 88));
    EXPECT_EQ(b.Pixel(107, 87), kRed);
    EXPECT_THROW(b.SetSizeForOverwrite(70000, 1), PictureError);
    EXPECT_THROW(b.SetSizeForOverwrite(-1, 1), PictureError);
    EXPECT_EQ(b.Width(), 108);
    b.SetSizeForOverwrite(0, 5);
    EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, DeviceAndBgrxSwapClearsOnlyTheFourthByteOfEveryPixel) {
    Bitmap b(5, 3, PixelFormat::Device);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 20; ++x) b.ScanLine(y)[x] = std::uint8_t(1 + x + 20 * y);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(b.ScanLine(y)[x], x % 4 == 3 ? 0 : 1 + x + 20 * y) << x << "," << y;
}

TEST(Bitmap, IndexedConversionMapsToNearestPaletteColour) {
    Bitmap b(2, 1, PixelFormat::Indexed8);
    b.Palette() = {kBlack, kWhite, kRed};
    b.ScanLine(0)[0] = 2;
    b.ScanLine(0)[1] = 1;
    EXPECT_EQ(b.Pixel(0, 0), kRed);
    b.SetPixelFormat(PixelFormat::Bgrx32);
    EXPECT_EQ(b.Pixel(0, 0), kRed);
    EXPECT_EQ(b.Pixel(1, 0), kWhite);
}

TEST(Bitmap, AssignMakesIndependentCopy) {
    Bitmap a(2, 2, PixelFormat::Bgrx32);
    a.SetPixel(1, 1, kRed);
    Bitmap b;
    b.Assign(a);
    a.SetPixel(1, 1, kBlue);
    EXPECT_EQ(b.Pixel(1, 1), kRed);
    EXPECT_EQ(b.format(), PixelFormat::Bgrx32);
}

namespace {

// Every byte of a picture's rows, read without writing access.
std::vector<std::uint8_t> BytesOf(const Bitmap& b) {
    return std::vector<std::uint8_t>(b.Bits(), b.Bits() + b.Stride() * std::size_t(b.Height()));
}

// A 7 x 5 picture of format with every byte different from its neighbours.
void Fill(Bitmap& b, PixelFormat format, int seed) {
    b.SetSize(0, 0);
    b.SetPixelFormat(format);
    if (b.IsIndexed())
        for (int i = 0; i < 16; ++i) b.Palette().push_back(RGB(i * 16, 255 - i * 9, i * 5));
    b.SetSize(7, 5);
    std::uint8_t* p = b.Bits();
    for (std::size_t i = 0; i < b.Stride() * 5; ++i)
        p[i] =
            std::uint8_t(b.IsIndexed() ? (i + std::size_t(seed)) % 16 : i * 7 + std::size_t(seed));
}

} // namespace

// A copy shares the pixels until one of the two is written; whichever is
// written, by whatever writing access, the other keeps its picture.
TEST(Bitmap, ACopySharesPixelsUntilEitherIsWritten) {
    const std::vector<std::pair<const char*, void (*)(Bitmap&)>> writes = {
        {"ScanLine", [](Bitmap& b) { b.ScanLine(2)[3] ^= 0xFF; }},
        {"Bits", [](Bitmap& b) { b.Bits()[0] ^= 0xFF; }},
        {"SetPixel", [](Bitmap& b) { b.SetPixel(1, 1, kRed); }},
        {"canvas", [](Bitmap& b) { b.canvas().FillRect(Rect(0, 0, 3, 3)); }},
        {"taller", [](Bitmap& b) { b.SetSize(7, 9); }},
        {"shorter", [](Bitmap& b) { b.SetSize(7, 2); }},
        {"wider", [](Bitmap& b) { b.SetSize(9, 5); }},
        {"to Bgr24", [](Bitmap& b) { b.SetPixelFormat(PixelFormat::Bgr24); }},
        {"to Bgrx32", [](Bitmap& b) { b.SetPixelFormat(PixelFormat::Bgrx32); }},
        {"to Device", [](Bitmap& b) { b.SetPixelFormat(PixelFormat::Device); }},
        {"to Indexed4", [](Bitmap& b) { b.SetPixelFormat(PixelFormat::Indexed4); }},
        {"to Indexed1", [](Bitmap& b) { b.SetPixelFormat(PixelFormat::Indexed1); }},
        {"overwrite", [](Bitmap& b) { b.SetSizeForOverwrite(7, 5), b.Bits()[0] ^= 0xFF; }},
        {"make", [](Bitmap& b) { b.MakeForOverwrite(7, 5, b.format()), b.Bits()[0] ^= 0xFF; }},
        {"swap",
         [](Bitmap& b) {
             Bitmap other(2, 2);
             b.SwapPicture(other);
         }},
    };
    for (PixelFormat format :
         {PixelFormat::Device, PixelFormat::Bgrx32, PixelFormat::Bgr24, PixelFormat::Indexed8}) {
        for (const auto& [name, write] : writes) {
            for (bool writeTheCopy : {true, false}) {
                SCOPED_TRACE(std::string(name) +
                             (writeTheCopy ? " on the copy" : " on the source") + ", format " +
                             std::to_string(int(format)));
                Bitmap source;
                Fill(source, format, 3);
                Bitmap copy;
                copy.Assign(source);
                ASSERT_TRUE(copy.SharesPixelsWith(source));
                Bitmap& written = writeTheCopy ? copy : source;
                const Bitmap& kept = writeTheCopy ? std::as_const(source) : std::as_const(copy);
                const std::vector<std::uint8_t> keptBytes = BytesOf(kept);
                write(written);
                // Still sharing only where the write changed nothing (a
                // conversion to the format the picture has).
                if (copy.SharesPixelsWith(source)) {
                    EXPECT_EQ(copy.format(), source.format());
                    EXPECT_EQ(BytesOf(copy), BytesOf(source));
                    EXPECT_EQ(std::string(name).substr(0, 3), "to ");
                }
                EXPECT_EQ(BytesOf(kept), keptBytes);
                EXPECT_EQ(kept.Width(), 7);
                EXPECT_EQ(kept.Height(), 5);
                EXPECT_EQ(kept.format(), format);
            }
        }
    }
}

// Writing a shared picture gives the same result as writing an unshared one:
// the conversions that read the old pixels read the same ones.
TEST(Bitmap, WritesOnSharedPixelsEqualWritesOnOwnPixels) {
    for (PixelFormat from :
         {PixelFormat::Device, PixelFormat::Bgrx32, PixelFormat::Bgr24, PixelFormat::Indexed8}) {
        for (PixelFormat to : {PixelFormat::Device, PixelFormat::Bgrx32, PixelFormat::Bgr24,
                               PixelFormat::Indexed4}) {
            SCOPED_TRACE(std::to_string(int(from)) + " to " + std::to_string(int(to)));
            Bitmap own, shared, holder;
            Fill(own, from, 11);
            Fill(shared, from, 11);
            holder.Assign(shared);
            own.SetPixelFormat(to);
            shared.SetPixelFormat(to);
            EXPECT_EQ(BytesOf(shared), BytesOf(own));
            EXPECT_EQ(shared.Palette(), own.Palette());
            own.SetSize(4, 8);
            Bitmap again;
            again.Assign(shared);
            shared.SetSize(4, 8);
            EXPECT_EQ(BytesOf(shared), BytesOf(own));
        }
    }
}

TEST(Bitmap, ImpossibleSizesAreRefusedBeforeAllocating) {
    Bitmap b(4, 4);
    EXPECT_THROW(b.SetSize(70000, 1), PictureError);
    EXPECT_THROW(b.SetSize(-1, 1), PictureError);
    EXPECT_THROW(b.SetSize(65535, 65535), PictureError);
    EXPECT_EQ(b.Width(), 4); // unchanged after the refusal
    EXPECT_NO_THROW(CheckPictureSize(65535, 4096));
    try {
        CheckPictureSize(65536, 1);
        ADD_FAILURE() << "accepted";
    } catch (const PictureError& e) {
        EXPECT_EQ(e.Kind(), PictureErrorKind::TooLarge);
    }
    // A tighter limit than the program's own; never a looser one.
    EXPECT_THROW(CheckPictureSize(5, 5, 4, 100), PictureError);
    EXPECT_THROW(CheckPictureSize(5, 5, 100, 24), PictureError);
    EXPECT_THROW(CheckPictureSize(70000, 1, 100000, kMaxPicturePixels), PictureError);
    EXPECT_NO_THROW(CheckPictureSize(5, 5, 5, 25));
}

// Freed large buffers are kept only when asked, up to the limit, and a
// bitmap made in a kept buffer is as black as one made in a fresh buffer.
TEST(PixelMemory, FreedLargeBuffersAreKeptOnlyWhenAskedAndUpToTheLimit) {
    constexpr std::size_t kEight = std::size_t(8) << 20; // 2048 x 1024 x 4
    auto filled = [] {
        auto b = std::make_unique<Bitmap>(2048, 1024, PixelFormat::Device);
        std::memset(b->Bits(), 0xAB, kEight);
        return b;
    };
    filled().reset();
    EXPECT_EQ(pixel_memory::KeptBytes(), 0u);

    pixel_memory::KeepFreedBuffers(20 << 20);
    auto first = filled();
    const std::uint8_t* where = first->Bits();
    first.reset();
    EXPECT_EQ(pixel_memory::KeptBytes(), kEight);
    Bitmap again(2048, 1024, PixelFormat::Device);
    EXPECT_EQ(again.Bits(), where);
    EXPECT_EQ(pixel_memory::KeptBytes(), 0u);
    EXPECT_TRUE(
        std::all_of(again.Bits(), again.Bits() + kEight, [](std::uint8_t v) { return v == 0; }));

    // Three freed, room for two: the oldest goes.
    auto a = filled(), b = filled(), c = filled();
    a.reset();
    b.reset();
    c.reset();
    EXPECT_EQ(pixel_memory::KeptBytes(), 2 * kEight);
    pixel_memory::KeepFreedBuffers(0);
    EXPECT_EQ(pixel_memory::KeptBytes(), 0u);
}

// The prefaulting helper runs beside the writer of a fresh buffer and may
// still run when the buffer is freed: no written byte may change, a buffer
// made black stays black, and freeing one at once is safe.
TEST(PixelMemory, PrefaultingHelpersLeaveEveryWrittenByteAlone) {
    pixel_memory::PrefaultFreshBuffers(true);
    for (int round = 0; round < 6; ++round) {
        Bitmap written;
        written.MakeForOverwrite(3000, 1500, PixelFormat::Device); // 18 MB
        const std::size_t bytes = std::size_t(3000) * 1500 * 4;
        std::uint8_t* bits = written.Bits();
        for (std::size_t i = 0; i < bytes; i += 97) bits[i] = std::uint8_t(i / 97 + round);
        Bitmap black(2500, 1200, PixelFormat::Device);
        { Bitmap freedAtOnce(2048, 1024, PixelFormat::Device); }

        bool same = true;
        for (std::size_t i = 0; i < bytes; i += 97) same &= bits[i] == std::uint8_t(i / 97 + round);
        EXPECT_TRUE(same) << "round " << round;
        const std::uint8_t* b = black.Bits();
        EXPECT_TRUE(
            std::all_of(b, b + std::size_t(2500) * 1200 * 4, [](std::uint8_t v) { return v == 0; }))
            << "round " << round;
    }
    pixel_memory::PrefaultFreshBuffers(false);
}

TEST(Brush, ResetRules) {
    Bitmap pattern(2, 2, PixelFormat::Bgrx32);
    Brush brush;
    brush.SetColor(kRed);
    brush.SetBitmap(&pattern);
    EXPECT_EQ(brush.color(), kWhite);
    EXPECT_EQ(brush.Style(), BrushStyle::Solid);
    ASSERT_NE(brush.pattern(), nullptr);

    brush.SetColor(kRed); // a colour removes the pattern
    EXPECT_EQ(brush.pattern(), nullptr);
    EXPECT_EQ(brush.color(), kRed);

    brush.SetBitmap(&pattern);
    brush.SetStyle(BrushStyle::Clear); // clear removes the pattern and whitens the colour
    EXPECT_EQ(brush.pattern(), nullptr);
    EXPECT_EQ(brush.color(), kWhite);
    brush.SetColor(kBlue); // a colour turns BrushStyle::Clear into BrushStyle::Solid
    EXPECT_EQ(brush.Style(), BrushStyle::Solid);
}
