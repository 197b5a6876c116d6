// The pieces of the data-folder generator, one file each.
#pragma once

#include <string>

namespace quillon {

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
