// Frames one picture the way the desktop program would for the same choices:
// the photo document opens the file, runs the image commands, chooses each
// group's style, applies the options as the edit bar and the pickers do, and
// stacks the groups as "Apply Frame" does.
#pragma once

#include "cli/Options.h"
#include "document/PhotoDocument.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

// Opens input and applies every group of options in turn. Lengths in
// percent refer to the photo's shorter side and physical lengths to the
// print size or resolution, the photo being the picture as opened and after
// the first group's image commands. Throws PictureError with the message the
// user sees (a file that decodes to no picture included), and UsageError
// for a length the photo cannot take.
std::unique_ptr<PhotoDocument> FramePicture(const std::string& input, const CliOptions& options);

// Writes the document's picture (the framed one, or the photo with no style)
// to output by the program's name rules.
void SaveByName(const PhotoDocument& document, const std::string& output);
// Writes it in the given format whatever output's name says.
void SaveAs(const PhotoDocument& document, const std::string& output, OutputFormat format);

// Resolves a pattern file named on the command line: as given, or relative
// to the start folder (letter case ignored). Empty when neither exists.
std::string ResolvePatternFile(const std::string& name);

} // namespace quillon
