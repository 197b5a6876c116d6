#include "formats/Formats.h"
#include "formats/Readers.h"
#include "formats/Registry.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace quillon;

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    return ReadWholeFile(path);
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

const std::map<char, Color> kLegend = {{'r', kRed}, {'g', kLime}, {'b', kBlue}, {'w', kWhite}};

std::unique_ptr<Bitmap> SmallPicture() {
    return BitmapFromArt({"rrgg", "rrgg", "bbww", "bbww"}, kLegend, PixelFormat::Bgr24);
}

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const PictureError& e) {
        return e.what();
    }
    return "(no error)";
}

// The kind of the PictureError f throws; Io when it throws none.
PictureErrorKind KindOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const PictureError& e) {
        return e.Kind();
    }
    ADD_FAILURE() << "no error";
    return PictureErrorKind::Io;
}

} // namespace

// ---- The name test ----------------------------------------------------------------

TEST(PictureName, KindComesFromTheUpperCasedFileNameAlone) {
    const std::pair<const char*, NameKind> cases[] = {
        {"/home/ann/GIF art/photo.jpg", NameKind::Jpeg},
        {"/home/ann/BMP files/photo.png", NameKind::Other},
        {"/home/ann/Pictures/gifs/photo.png", NameKind::Other},
        {"jpg_out/x.bmp", NameKind::Bmp},
        {"/pics/photo.JpEg", NameKind::Jpeg},
        {"/pics/photo.jpg", NameKind::Jpeg},
        {"/pics/jpegs/logo.gif", NameKind::Gif},
        {"/pics/gifts/card.bmp", NameKind::Bmp},
        {"/pics/card.Bmp", NameKind::Bmp},
        {"/pics/jpeg-of-gif.bmp", NameKind::Jpeg}, // JPEG is looked for first
        {"gif_bmp.png", NameKind::Gif},
        {"/pics/photo.png", NameKind::Other},
        {"/pics/photo.jpe", NameKind::Other},
        {"/pics/photo", NameKind::Other},
    };
    for (auto [name, kind] : cases) EXPECT_EQ(PictureNameKind(name), kind) << name;
}

TEST(PictureName, RegistryLooksUpTheLatestRegistrationWithoutCase) {
    FileFormatList list;
    list.RegisterFileFormat("ABC", "first", ReadBmp);
    list.RegisterFileFormat("abc", "second", ReadGif);
    ASSERT_NE(list.Find("aBc"), nullptr);
    EXPECT_EQ(list.Find("aBc")->Reader, ReadGif);
    EXPECT_EQ(list.Find("abd"), nullptr);

    const auto& all = FileFormatList::Instance();
    EXPECT_EQ(all.Find("JPEG")->Reader, ReadJpeg);
    EXPECT_EQ(all.Find("rle")->Reader, ReadBmp);
    EXPECT_EQ(all.Find("gif")->Reader, ReadGif);
    EXPECT_EQ(all.Find("ico")->Reader, nullptr);
}

// ---- Loading ----------------------------------------------------------------------

TEST(LoadPicture, JpegNameInAGifFolderIsReadAndWrittenAsJpeg) {
    const std::string dir = TempDir("formats-gif-folder") + "/GIF art";
    fs::create_directories(dir);
    auto picture = SmallPicture();
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/photo.jpg"));
    const auto bytes = FileBytes(dir + "/photo.jpg");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    auto back = LoadPictureFile(dir + "/photo.jpg");
    EXPECT_EQ(back->Width(), 4);
    // The photo is drawn into a new bitmap of the screen's format.
    EXPECT_EQ(back->format(), PixelFormat::Device);
}

TEST(LoadPicture, FolderNamesDoNotPickTheFormat) {
    const std::string dir = TempDir("formats-bmp-folder") + "/BMP files";
    fs::create_directories(dir);
    WriteBytes(dir + "/photo.png", {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13});
    // The PNG reader, not the bitmap reader, sees the file.
    EXPECT_NE(MessageOf([&] { LoadPictureFile(dir + "/photo.png"); }), "Bitmap image is not valid");

    const std::string jpgOut = TempDir("formats-jpg-out") + "/jpg_out";
    fs::create_directories(jpgOut);
    ASSERT_TRUE(SavePictureFile(*SmallPicture(), jpgOut + "/x.bmp"));
    const auto bytes = FileBytes(jpgOut + "/x.bmp");
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
}

TEST(LoadPicture, UnknownExtensionIsNamedInTheMessage) {
    const std::string dir = TempDir("formats-unknown");
    WriteBytes(dir + "/picture.xyz", {1, 2, 3});
    EXPECT_EQ(MessageOf([&] { LoadPictureFile(dir + "/picture.xyz"); }),
              "Unknown picture file extension (.xyz)");
    EXPECT_EQ(MessageOf([&] { LoadPictureFile(dir + "/Picture.XyZ"); }),
              "Unknown picture file extension (.XyZ)");
}

TEST(LoadPicture, IconsAndMetafilesGiveAnEmptyBitmap) {
    const std::string dir = TempDir("formats-icon");
    for (const char* name : {"/app.ico", "/drawing.WMF", "/drawing.emf"}) {
        WriteBytes(dir + name, {0, 0, 1, 0, 1, 0});
        auto b = LoadPictureFile(dir + name);
        EXPECT_TRUE(b->Empty()) << name;
    }
}

TEST(LoadPicture, RegisteredExtensionsWithoutANameMatch) {
    const std::string dir = TempDir("formats-dib");
    WriteBytes(dir + "/photo.dib", EncodeBmp(*SmallPicture()));
    EXPECT_PIXELS(*LoadPictureFile(dir + "/photo.dib"), kLegend, {"rrgg", "rrgg", "bbww", "bbww"});
}

TEST(LoadPicture, JpeExtensionIsReadAsJpegButNotWritten) {
    const std::string dir = TempDir("formats-jpe");
    WriteBytes(dir + "/photo.jpe", EncodeJpeg(*SmallPicture()));
    EXPECT_EQ(LoadPictureFile(dir + "/photo.jpe")->Width(), 4);
    EXPECT_FALSE(SavePictureFile(*SmallPicture(), dir + "/other.jpe"));
    EXPECT_FALSE(fs::exists(dir + "/other.jpe"));
}

TEST(LoadPicture, MissingFileIsAnError) {
    EXPECT_THROW(LoadPictureFile(TempDir("formats-missing") + "/none.bmp"), PictureError);
}

TEST(LoadDecoration, OnlyJpegAndBitmapAreRead) {
    const std::string dir = TempDir("formats-decoration");
    auto picture = SmallPicture();
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/pattern.gif"));
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/pattern.jpg"));
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/pattern.bmp"));

    Bitmap b(1, 1, PixelFormat::Bgr24);
    b.SetPixel(0, 0, kRed);
    // A GIF named as such still goes to the bitmap reader, which refuses it
    // and leaves the bitmap as it was.
    EXPECT_EQ(MessageOf([&] { LoadDecorationPicture(dir + "/pattern.gif", b); }),
              "Bitmap image is not valid");
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Pixel(0, 0), kRed);

    LoadDecorationPicture(dir + "/pattern.jpg", b);
    EXPECT_EQ(b.Width(), 4);
    EXPECT_EQ(b.format(), PixelFormat::Bgr24); // the decoded picture itself
    LoadDecorationPicture(dir + "/pattern.bmp", b);
    EXPECT_PIXELS(b, kLegend, {"rrgg", "rrgg", "bbww", "bbww"});
}

// ---- Limits and whole files ------------------------------------------------------

TEST(DecodeLimits, SizeAndFileBudget) {
    struct Case {
        std::int64_t W, H;
        std::uint64_t FileBytes;
        bool Accepted;
    };
    // Up to 16 megapixels any file will do; above, a byte per 1024 pixels.
    const Case cases[] = {
        {4096, 4096, 1, true},      // 2^24 pixels: within the free size
        {4097, 4096, 16387, false}, // one column over: 16 388 bytes needed
        {4097, 4096, 16388, true},
        {4097, 4097, 16392, false}, // rounded up to whole bytes
        {4097, 4097, 16393, true},
        {16384, 16384, 262144, true},
        {16384, 16384, 262143, false},
        {65535, 4096, 1u << 30, true},
        {65536, 1, 1u << 30, false},     // a side over 65535
        {16385, 16384, 1u << 30, false}, // over 2^28 pixels
        {-1, 5, 100, false},
    };
    const DecodeLimits limits;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.W) + " x " + std::to_string(c.H) + ", " +
                     std::to_string(c.FileBytes) + " bytes");
        if (c.Accepted) {
            EXPECT_NO_THROW(limits.CheckBudget("Test", c.W, c.H, c.FileBytes));
        } else {
            EXPECT_EQ(KindOf([&] { limits.CheckBudget("Test", c.W, c.H, c.FileBytes); }),
                      PictureErrorKind::TooLarge);
        }
    }
    EXPECT_EQ(MessageOf([&] { limits.CheckBudget("BMP", 16384, 16384, 70); }),
              "BMP picture of 16384 x 16384 pixels is too large for a file of 70 bytes");
    EXPECT_EQ(MessageOf([&] { limits.CheckSize(70000, 1); }),
              "Picture size 70000 x 1 is too large");
}

TEST(DecodeLimits, ReadersHonourTighterLimits) {
    DecodeLimits tight;
    tight.MaxSide = 3;
    const auto bmp = EncodeBmp(*SmallPicture()); // 4 x 4
    Bitmap out;
    EXPECT_EQ(KindOf([&] { ReadBmp(bmp, "small.bmp", out, tight); }), PictureErrorKind::TooLarge);
    EXPECT_TRUE(out.Empty());
    tight.MaxSide = 4;
    tight.MaxPixels = 15;
    EXPECT_EQ(MessageOf([&] { ReadBmp(bmp, "small.bmp", out, tight); }),
              "Picture size 4 x 4 is too large");
    tight.MaxPixels = 16;
    ReadBmp(bmp, "small.bmp", out, tight);
    EXPECT_EQ(out.Width(), 4);
}

TEST(ReadWholeFile, AFolderIsSaidToBeOne) {
    const std::string dir = TempDir("formats-read-folder");
    EXPECT_EQ(MessageOf([&] { ReadWholeFile(dir); }),
              "Cannot open file " + dir + ": it is a folder, not a file");
    EXPECT_EQ(KindOf([&] { LoadPictureFile(dir + "/"); }), PictureErrorKind::Unsupported);
    fs::create_directories(dir + "/photos.bmp");
    EXPECT_EQ(MessageOf([&] { LoadPictureFile(dir + "/photos.bmp"); }),
              "Cannot open file " + dir + "/photos.bmp: it is a folder, not a file");
}

TEST(ReadWholeFile, AFileOverTheCapIsRefusedUnread) {
    const std::string dir = TempDir("formats-read-cap");
    WriteBytes(dir + "/ten", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(ReadWholeFile(dir + "/ten", 10).size(), 10u);
    EXPECT_EQ(MessageOf([&] { ReadWholeFile(dir + "/ten", 9); }),
              "File " + dir + "/ten is too large (more than 9 bytes)");
    // A sparse file one byte over 1 GiB: refused by its size, without reading.
    const std::string huge = dir + "/huge.bmp";
    WriteBytes(huge, {'B', 'M'});
    fs::resize_file(huge, (std::uintmax_t(1) << 30) + 1);
    EXPECT_EQ(KindOf([&] { LoadPictureFile(huge); }), PictureErrorKind::TooLarge);
    EXPECT_NE(MessageOf([&] { LoadPictureFile(huge); }).find(huge + " is too large"),
              std::string::npos);
}

TEST(ReadWholeFile, AStreamIsReadToItsEndWithinTheCap) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::vector<std::uint8_t> bytes(1000, 7);
    ASSERT_EQ(::write(fds[1], bytes.data(), bytes.size()), 1000);
    ::close(fds[1]);
    const std::string path = "/proc/self/fd/" + std::to_string(fds[0]);
    EXPECT_EQ(ReadWholeFile(path), bytes);
    ::close(fds[0]);

    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], bytes.data(), bytes.size()), 1000);
    ::close(fds[1]);
    EXPECT_EQ(KindOf([&] { ReadWholeFile("/proc/self/fd/" + std::to_string(fds[0]), 999); }),
              PictureErrorKind::TooLarge);
    ::close(fds[0]);
}

TEST(LoadPicture, ErrorsSayWhatKindOfFaultTheyAre) {
    const std::string dir = TempDir("formats-kinds");
    WriteBytes(dir + "/picture.xyz", {1, 2, 3});
    EXPECT_EQ(KindOf([&] { LoadPictureFile(dir + "/picture.xyz"); }),
              PictureErrorKind::Unsupported);
    EXPECT_EQ(KindOf([&] { LoadPictureFile(dir + "/none.bmp"); }), PictureErrorKind::Io);
    auto bmp = EncodeBmp(*SmallPicture());
    bmp.resize(bmp.size() - 20);
    WriteBytes(dir + "/cut.bmp", bmp);
    EXPECT_EQ(KindOf([&] { LoadPictureFile(dir + "/cut.bmp"); }), PictureErrorKind::Truncated);
    EXPECT_EQ(MessageOf([&] { LoadPictureFile(dir + "/cut.bmp"); }), "Bitmap image is not valid");
}

// ---- Saving -----------------------------------------------------------------------

TEST(SavePicture, EachWriterIsChosenByTheName) {
    const std::string dir = TempDir("formats-save");
    auto picture = SmallPicture();
    picture->SetPixelFormat(PixelFormat::Bgrx32);
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/a.BMP"));
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/a.Gif"));
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/a.jpeg"));
    EXPECT_EQ(FileBytes(dir + "/a.BMP")[0], 'B');
    EXPECT_EQ(FileBytes(dir + "/a.Gif")[0], 'G');
    EXPECT_EQ(FileBytes(dir + "/a.jpeg")[0], 0xFF);
    auto bmp = LoadPictureFile(dir + "/a.BMP");
    EXPECT_EQ(bmp->format(), PixelFormat::Bgrx32); // its own depth
    EXPECT_PIXELS(*bmp, kLegend, {"rrgg", "rrgg", "bbww", "bbww"});
    auto gif = LoadPictureFile(dir + "/a.Gif");
    EXPECT_EQ(gif->format(), PixelFormat::Indexed8);
    EXPECT_PIXELS(*gif, kLegend, {"rrgg", "rrgg", "bbww", "bbww"});
}

TEST(SavePicture, UnmatchedNameWritesNothing) {
    const std::string dir = TempDir("formats-tga");
    EXPECT_FALSE(SavePictureFile(*SmallPicture(), dir + "/photo.tga"));
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(SavePicture, FailedSaveLeavesTheOldFileAndNoLeftovers) {
    const std::string dir = TempDir("formats-failed-save");
    auto picture = SmallPicture();

    // The encoder fails: an empty picture cannot be a JPEG.
    WriteBytes(dir + "/keep.jpg", {1, 2, 3});
    Bitmap empty;
    EXPECT_THROW(SavePictureFile(empty, dir + "/keep.jpg"), PictureError);
    EXPECT_EQ(FileBytes(dir + "/keep.jpg"), (std::vector<std::uint8_t>{1, 2, 3}));

    // The folder does not exist.
    EXPECT_THROW(SavePictureFile(*picture, dir + "/missing/photo.bmp"), PictureError);
    EXPECT_FALSE(fs::exists(dir + "/missing"));

    // The target is a folder: the rename fails and the folder keeps its file.
    fs::create_directories(dir + "/taken.bmp");
    WriteBytes(dir + "/taken.bmp/inside", {9});
    EXPECT_THROW(SavePictureFile(*picture, dir + "/taken.bmp"), PictureError);
    EXPECT_TRUE(fs::is_directory(dir + "/taken.bmp"));
    EXPECT_EQ(FileBytes(dir + "/taken.bmp/inside"), (std::vector<std::uint8_t>{9}));

    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir)) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"keep.jpg", "taken.bmp"}));

    // A successful save replaces the old file.
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/keep.jpg"));
    EXPECT_EQ(FileBytes(dir + "/keep.jpg")[0], 0xFF);
}

TEST(SavePicture, BitmapFileMethodsRoundTrip) {
    const std::string dir = TempDir("formats-bitmap-methods");
    auto picture = SmallPicture();
    SaveBmpFile(*picture, dir + "/x.dat"); // always a Windows bitmap, whatever the name
    Bitmap back;
    LoadBmpFile(dir + "/x.dat", back);
    EXPECT_PIXELS(back, kLegend, {"rrgg", "rrgg", "bbww", "bbww"});
}

TEST(SavePicture, SavedFilesGetOrdinaryPermissionsAndReplacementsKeepTheirs) {
    const std::string dir = TempDir("formats-save-modes");
    auto picture = SmallPicture();
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/new.bmp"));
    EXPECT_EQ(fs::status(dir + "/new.bmp").permissions() & fs::perms::all, fs::perms(0644));

    ::chmod((dir + "/new.bmp").c_str(), 0640);
    ASSERT_TRUE(SavePictureFile(*picture, dir + "/new.bmp"));
    EXPECT_EQ(fs::status(dir + "/new.bmp").permissions() & fs::perms::all, fs::perms(0640));
    ::umask(mask);
}

TEST(SaveName, WriterComesFromTheNameTestThenTheExtension) {
    const std::pair<const char*, std::optional<SaveFormat>> cases[] = {
        {"/out/photo.png", SaveFormat::Png},      {"/out/photo.PNG", SaveFormat::Png},
        {"/out/photo.webp", SaveFormat::Webp},    {"/out/photo.WebP", SaveFormat::Webp},
        {"/out/jpeg-copy.png", SaveFormat::Jpeg}, // the name test comes first
        {"/out/gifts.webp", SaveFormat::Gif},     {"/out/bmp.png", SaveFormat::Bmp},
        {"/out/photo.jpg", SaveFormat::Jpeg},     {"/png/photo.tga", std::nullopt},
        {"/out/photo.png.tmp", std::nullopt},     {"/out/webp", std::nullopt},
        {"/out.png/photo", std::nullopt},
    };
    for (auto [name, format] : cases) EXPECT_EQ(SaveFormatForName(name), format) << name;
}

TEST(SaveName, PngSavedReadsBackPixelForPixel) {
    const std::string dir = TempDir("formats-png-save");
    for (PixelFormat pf : {PixelFormat::Bgr24, PixelFormat::Bgrx32, PixelFormat::Device}) {
        auto picture = MakeTestPhoto(37, 21);
        picture->SetPixelFormat(pf);
        ASSERT_TRUE(SavePictureFile(*picture, dir + "/photo.png"));
        auto back = LoadPictureFile(dir + "/photo.png");
        ASSERT_EQ(back->Width(), 37);
        ASSERT_EQ(back->Height(), 21);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 37; ++x)
                ASSERT_EQ(back->Pixel(x, y), picture->Pixel(x, y)) << x << "," << y;
    }
}

TEST(SaveName, SaveDialogKeepsItsFirstThreeFiltersAndAddsPngAndWebp) {
    const auto& filters = SaveDialogFilters();
    ASSERT_EQ(filters.size(), 5u);
    EXPECT_EQ(filters[0].Patterns, "*.bmp");
    EXPECT_EQ(filters[1].Patterns, "*.jpg");
    EXPECT_EQ(filters[2].Patterns, "*.gif");
    EXPECT_EQ(filters[3].Patterns, "*.png");
    EXPECT_EQ(filters[4].Patterns, "*.webp");
}
