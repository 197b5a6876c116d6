// Finding data files by the names settings and recipes keep.
#include "formats/DataPaths.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quillon;

namespace {

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

TEST(FindFileNoCase, APictureStoredAsAnotherKindIsFoundByItsOldName) {
    const std::string dir = TempDir("data-paths");
    std::filesystem::create_directories(dir + "/Deco");
    Touch(dir + "/Deco/LEAF.jpg");
    Touch(dir + "/Deco/Rope.jpeg");
    Touch(dir + "/Deco/Rope.jpg");
    Touch(dir + "/Deco/Plain.bmp");
    Touch(dir + "/Deco/Plain.jpg");
    Touch(dir + "/Deco/notes.bmp");
    std::filesystem::create_directories(dir + "/Deco/Shelf.jpg");

    struct Case {
        const char* asked;
        const char* found; // below dir; nullptr: the name comes back unchanged
    };
    const Case cases[] = {
        {"/Deco/Leaf.bmp", "/Deco/LEAF.jpg"},    // another kind and another case
        {"/deco/leaf.BMP", "/Deco/LEAF.jpg"},    // the folder's case too
        {"/Deco/Rope.bmp", "/Deco/Rope.jpg"},    // .jpg before .jpeg
        {"/Deco/Plain.jpg", "/Deco/Plain.jpg"},  // a name that exists is itself
        {"/Deco/Plain.jpeg", "/Deco/Plain.bmp"}, // BMP first among stand-ins
        {"/Deco/notes.txt", nullptr},            // not a picture name
        {"/Deco/Leaf.png", nullptr},             // not a kind the library uses
        {"/Deco/Shelf.bmp", nullptr},            // a folder is no picture
        {"/Other/Leaf.bmp", nullptr},            // no such folder
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        const std::string asked = dir + c.asked;
        EXPECT_EQ(FindFileNoCase(asked), c.found ? dir + c.found : asked);
    }
}

TEST(FindFileNoCase, DataFolderNamesResolveThroughTheStandIn) {
    const std::string dir = TempDir("data-paths-start");
    std::filesystem::create_directories(dir + "/masks");
    Touch(dir + "/masks/Soft Oval.jpg");
    const std::string old = StartFolder();
    SetStartFolder(dir);
    EXPECT_EQ(StartFolderFile("masks\\Soft Oval.bmp"), dir + "/masks/Soft Oval.jpg");
    EXPECT_EQ(StartFolderFile("Masks/Soft Oval.BMP"), dir + "/masks/Soft Oval.jpg");
    SetStartFolder(old);
}

} // namespace
