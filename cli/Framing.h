// Frames one picture the way the desktop program would for the same choices:
// the photo document opens the file, runs the image commands, selects each
// group's style at 100 % zoom, applies the options as the edit bar and the
// pickers do, and stacks the groups as "Apply Frame" does.
#pragma once

#include "cli/Options.h"
#include "document/Butbar.h"

#include <memory>
#include <string>
#include <vector>

namespace quillon {

// Opens input and applies every group in turn. Throws PictureError with the
// message the user sees (a file that decodes to no picture included).
std::unique_ptr<TButtonBar> FramePicture(const std::string& input,
                                         const std::vector<TFrameGroup>& groups);

// Writes the document's picture (the framed one, or the photo with no style)
// to output by the program's name rules.
void SaveByName(TButtonBar& document, const std::string& output);
// Writes it in the given format whatever output's name says.
void SaveAs(TButtonBar& document, const std::string& output, TOutputFormat format);

// Resolves a pattern file named on the command line: as given, or relative
// to the start folder (letter case ignored). Empty when neither exists.
std::string ResolvePatternFile(const std::string& name);

} // namespace quillon
