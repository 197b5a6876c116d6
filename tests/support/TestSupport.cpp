#include "tests/support/TestSupport.h"

#include "formats/Formats.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include <unistd.h>

namespace quillon {

std::unique_ptr<Bitmap> BitmapFromArt(const std::vector<std::string>& rows,
                                      const std::map<char, Color>& legend, PixelFormat format) {
    const int h = int(rows.size());
    const int w = h ? int(rows[0].size()) : 0;
    auto b = std::make_unique<Bitmap>(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            auto it = legend.find(rows[y][x]);
            b->SetPixel(x, y, it == legend.end() ? kBlack : it->second);
        }
    return b;
}

std::string PixelsAsText(const Bitmap& bitmap, const std::map<char, Color>& legend) {
    std::string out;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            char ch = '*';
            for (auto& [k, v] : legend)
                if (k != '?' && v == bitmap.Pixel(x, y)) {
                    ch = k;
                    break;
                }
            out += ch;
        }
        out += '\n';
    }
    return out;
}

::testing::AssertionResult PixelsMatch(const Bitmap& bitmap, const std::vector<std::string>& rows,
                                       const std::map<char, Color>& legend) {
    const int h = int(rows.size());
    const int w = h ? int(rows[0].size()) : 0;
    if (bitmap.Width() != w || bitmap.Height() != h)
        return ::testing::AssertionFailure() << "size " << bitmap.Width() << "x" << bitmap.Height()
                                             << ", expected " << w << "x" << h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const char ch = rows[y][x];
            if (ch == '?') continue;
            auto it = legend.find(ch);
            if (it == legend.end() || bitmap.Pixel(x, y) != it->second)
                return ::testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y << ")\nactual:\n"
                       << PixelsAsText(bitmap, legend);
        }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult MatchesGolden(const Bitmap& bitmap, const std::string& name) {
    const std::string golden = std::string(QUILLON_TEST_SOURCE_DIR) + "/golden/" + name + ".bmp";
    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        Bitmap copy;
        copy.Assign(bitmap);
        copy.SetPixelFormat(PixelFormat::Bgr24);
        SaveBmpFile(copy, golden);
        return ::testing::AssertionSuccess();
    }
    Bitmap expected;
    try {
        LoadBmpFile(golden, expected);
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "cannot read golden " << golden << ": " << e.what()
                                             << " (run with UPDATE_GOLDEN=1 to create it)";
    }
    const std::string out = std::string(QUILLON_TEST_BINARY_DIR) + "/" + name;
    auto writeActual = [&] {
        Bitmap copy;
        copy.Assign(bitmap);
        copy.SetPixelFormat(PixelFormat::Bgr24);
        SaveBmpFile(copy, out + ".actual.bmp");
    };
    if (expected.Width() != bitmap.Width() || expected.Height() != bitmap.Height()) {
        writeActual();
        return ::testing::AssertionFailure()
               << name << ": size " << bitmap.Width() << "x" << bitmap.Height() << ", golden "
               << expected.Width() << "x" << expected.Height();
    }
    int fx = -1, fy = -1;
    Bitmap diff(bitmap.Width(), bitmap.Height(), PixelFormat::Bgr24);
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x) {
            const bool same = bitmap.Pixel(x, y) == expected.Pixel(x, y);
            diff.SetPixel(x, y, same ? kWhite : kRed);
            if (!same && fx < 0) {
                fx = x;
                fy = y;
            }
        }
    if (fx < 0) return ::testing::AssertionSuccess();
    writeActual();
    SaveBmpFile(diff, out + ".diff.bmp");
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s: first difference at (%d, %d): actual 0x%06X, golden 0x%06X",
                  name.c_str(), fx, fy, bitmap.Pixel(fx, fy), expected.Pixel(fx, fy));
    return ::testing::AssertionFailure() << buf << "; see " << out << ".actual.bmp and .diff.bmp";
}

std::string TestDataDir() {
    const char* d = std::getenv("QUILLON_DATA_DIR");
    return d ? d : QUILLON_BUILD_DATA_DIR;
}

std::string TempDir(const std::string& name) {
    // ctest runs tests in parallel processes: the folder carries the process
    // number, so two tests asking for the same name never share it. (Not the
    // test's name: picture names are chosen by words like "JPEG" anywhere in
    // the path.)
    const std::string dir =
        std::string(QUILLON_TEST_BINARY_DIR) + "/tmp/" + name + "-" + std::to_string(::getpid());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::unique_ptr<Bitmap> MakeTestPhoto(int width, int height) {
    auto b = std::make_unique<Bitmap>(width, height, PixelFormat::Bgrx32);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = b->ScanLine(y);
        for (int x = 0; x < width; ++x) {
            int r = width > 1 ? x * 255 / (width - 1) : 0;
            int g = height > 1 ? y * 255 / (height - 1) : 0;
            int bl = ((x / 8 + y / 8) % 2) ? 200 : 60;
            if ((x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2) <
                (height / 4) * (height / 4))
                bl = 255 - bl;
            row[4 * x] = std::uint8_t(bl);
            row[4 * x + 1] = std::uint8_t(g);
            row[4 * x + 2] = std::uint8_t(r);
            row[4 * x + 3] = 0;
        }
    }
    return b;
}

int MaxChannelDifference(const Bitmap& a, const Bitmap& b) {
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const Color p = a.Pixel(x, y), q = b.Pixel(x, y);
            worst = std::max({worst, std::abs(GetRValue(p) - GetRValue(q)),
                              std::abs(GetGValue(p) - GetGValue(q)),
                              std::abs(GetBValue(p) - GetBValue(q))});
        }
    return worst;
}

bool HaveTool(const std::string& name) {
    return std::system(("command -v '" + name + "' >/dev/null 2>&1").c_str()) == 0;
}

} // namespace quillon
