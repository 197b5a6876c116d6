// The pieces of the data-folder generator, one file each.
#pragma once

#include <string>

namespace quillon {

// The pixel size the overlays and masks are drawn at: enough to cover a
// 12-megapixel photo without visible steps.
constexpr int kOverlayWidth = 4000, kOverlayHeight = 3000;
constexpr int kMaskWidth = 4000, kMaskHeight = 3000;
// The large drawing of each moulding: the most of a moulding the ornate
// style turns into mitred corners.
constexpr int kLargeMouldingSize = 200;

// Writes the five drop-shadow pieces (Windows bitmaps) into dataDir.
void WriteShadowPieces(const std::string& dataDir);
// Writes the sample photo "sample.jpg" into dataDir.
void WriteSamplePhoto(const std::string& dataDir);

// Writes the decoration library into dataDir: "Patterns", "Ornate",
// "Overlay" and "masks".
void WriteDecorations(const std::string& dataDir);
void WritePatterns(const std::string& dataDir);
void WriteMouldings(const std::string& dataDir);
void WriteOverlays(const std::string& dataDir);
void WriteMasks(const std::string& dataDir);

} // namespace quillon
