// Frames many pictures into one folder, several at a time: a pool of
// threads takes the files in turn, each framed in a document of its own.
#pragma once

#include "cli/Options.h"

#include <string>
#include <vector>

namespace quillon {

// The output path of each input: DIR/<name without extension>.<format's
// extension>. Two inputs that would write the same file get an empty path
// for the later one.
std::vector<std::string> BatchOutputPaths(const std::vector<std::string>& inputs,
                                          const std::string& outputDir, OutputFormat format);

// Runs the batch; failures are reported on stderr and the rest go on.
// Returns the exit status: 0 when every file was written, 1 otherwise.
int RunBatch(const CliOptions& options);

} // namespace quillon
