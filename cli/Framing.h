// Writing framed pictures, and finding the pattern files the options name.
// (Framing itself is the document's: FrameByRecipe.)
#pragma once

#include "cli/Options.h"
#include "document/PhotoDocument.h"
#include "document/Recipe.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// Writes the document's picture (the framed one, or the photo with no style)
// to output by the program's name rules.
void SaveByName(const PhotoDocument& document, const std::string& output);
// Writes it in the given format whatever output's name says.
void SaveAs(const PhotoDocument& document, const std::string& output, OutputFormat format);

// Resolves a pattern file named on the command line: as given, or relative
// to the start folder (letter case ignored). Empty when neither exists.
std::string ResolvePatternFile(const std::string& name);

} // namespace quillon
