#include "formats/Formats.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace quillon;

namespace {

bool HaveExiftool() {
    return std::system("command -v exiftool >/dev/null 2>&1") == 0;
}

// exiftool's value of tag in file ("" when it has none).
std::string Tag(const std::string& file, const std::string& tag) {
    const std::string cmd = "exiftool -s3 -n -" + tag + " '" + file + "' 2>/dev/null";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

void Shell(const std::string& cmd) {
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
}

} // namespace

// A camera JPEG turned on its side, with a thumbnail, a caption in XMP and
// IPTC and an ICC profile: a picture saved from it as JPEG, PNG or WebP keeps
// them all, its EXIF fitted to the saved picture.
TEST(Metadata, SavedPhotoKeepsTheSourceMetadata) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    const std::string icc = "/usr/share/color/icc/ghostscript/srgb.icc";
    const bool withIcc = std::system(("test -r " + icc).c_str()) == 0;
    const std::string dir = TempDir("metadata");
    const std::string thumb = dir + "/thumb.jpg", src = dir + "/camera.jpg";
    ASSERT_TRUE(SavePictureFile(*MakeTestPhoto(16, 8), thumb));
    ASSERT_TRUE(SavePictureFile(*MakeTestPhoto(64, 32), src));
    Shell("exiftool -q -q -overwrite_original -n -Orientation=6 -Artist='Ann Example' "
          "-Make=Quillcam -XMP-dc:Title='Harbour at dusk' -IPTC:Caption-Abstract='Boats' "
          "'-ThumbnailImage<=" +
          thumb + "' " + (withIcc ? "'-ICC_Profile<=" + icc + "' " : "") + "'" + src + "'");
    ASSERT_EQ(Tag(src, "ThumbnailLength").empty(), false);

    std::shared_ptr<const PictureMetadata> metadata;
    const auto photo = LoadPictureFile(src, {}, &metadata);
    ASSERT_TRUE(metadata);
    ASSERT_EQ(photo->Width(), 32); // turned upright
    for (const char* name : {"saved.jpg", "saved.png", "saved.webp"}) {
        SCOPED_TRACE(name);
        const std::string out = dir + "/" + name;
        ASSERT_TRUE(SavePictureFile(*photo, out, metadata.get()));
        EXPECT_EQ(Tag(out, "Artist"), "Ann Example");
        EXPECT_EQ(Tag(out, "Make"), "Quillcam");
        EXPECT_EQ(Tag(out, "Orientation"), "1");
        EXPECT_EQ(Tag(out, "ExifImageWidth"), "32");
        EXPECT_EQ(Tag(out, "ExifImageHeight"), "64");
        EXPECT_EQ(Tag(out, "ThumbnailLength"), "");
        EXPECT_EQ(Tag(out, "XMP-dc:Title"), "Harbour at dusk");
        if (withIcc) {
            EXPECT_NE(Tag(out, "ProfileDescription"), "");
        }
        // Read back, the saved picture stays upright.
        EXPECT_EQ(LoadPictureFile(out)->Width(), 32);
    }
    // IPTC has a home in JPEG.
    EXPECT_EQ(Tag(dir + "/saved.jpg", "IPTC:Caption-Abstract"), "Boats");

    // Without metadata nothing is added.
    ASSERT_TRUE(SavePictureFile(*photo, dir + "/plain.jpg"));
    EXPECT_EQ(Tag(dir + "/plain.jpg", "Artist"), "");
}

TEST(Metadata, FilesWithoutMetadataGiveNone) {
    const std::string dir = TempDir("metadata-none");
    std::shared_ptr<const PictureMetadata> metadata =
        std::make_shared<PictureMetadata>(PictureMetadata{{1}, "", {}, {}});
    ASSERT_TRUE(SavePictureFile(*MakeTestPhoto(8, 8), dir + "/plain.png"));
    LoadPictureFile(dir + "/plain.png", {}, &metadata);
    EXPECT_FALSE(metadata);
    ASSERT_TRUE(SavePictureFile(*MakeTestPhoto(8, 8), dir + "/plain.bmp"));
    LoadPictureFile(dir + "/plain.bmp", {}, &metadata);
    EXPECT_FALSE(metadata);
}
