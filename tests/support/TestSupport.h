// Helpers shared by the engine tests: pictures written as text, and golden
// pictures compared pixel for pixel.
#pragma once

#include "canvas/Bitmap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace quillon {

// A bitmap drawn from rows of characters, one character a pixel, each
// character standing for the colour the legend gives it.
std::unique_ptr<Bitmap> BitmapFromArt(const std::vector<std::string>& rows,
                                      const std::map<char, Color>& legend,
                                      PixelFormat format = PixelFormat::Bgrx32);

// Checks every pixel against the rows: a character of the legend must match
// its colour exactly; '?' matches anything. On a mismatch the failure shows
// the whole picture as text.
::testing::AssertionResult PixelsMatch(const Bitmap& bitmap, const std::vector<std::string>& rows,
                                       const std::map<char, Color>& legend);
#define EXPECT_PIXELS(bitmap, legend, ...)                                                         \
    EXPECT_TRUE(PixelsMatch((bitmap), std::vector<std::string> __VA_ARGS__, (legend)))

// The picture as text by the legend ('*' for colours outside it).
std::string PixelsAsText(const Bitmap& bitmap, const std::map<char, Color>& legend);

// Compares bitmap with tests/golden/<name>.bmp pixel for pixel (colour only).
// On a mismatch, reports the first differing pixel with both colours and
// writes <name>.actual.bmp and <name>.diff.bmp into the build's test folder.
// With UPDATE_GOLDEN=1 in the environment the golden file is rewritten.
::testing::AssertionResult MatchesGolden(const Bitmap& bitmap, const std::string& name);

// The largest difference of one colour channel between two pictures of the
// same size, for comparing with decoders that round differently.
int MaxChannelDifference(const Bitmap& a, const Bitmap& b);
// Whether a command-line tool is installed (for tests that use one).
bool HaveTool(const std::string& name);

// The build's data folder (decoration library, shadow pieces, sample photo).
std::string TestDataDir();
// A fresh empty folder under the build's test folder, private to the
// running test.
std::string TempDir(const std::string& name);

// A photo-like test picture: smooth gradients plus a few hard edges, fixed.
std::unique_ptr<Bitmap> MakeTestPhoto(int width, int height);

} // namespace quillon
