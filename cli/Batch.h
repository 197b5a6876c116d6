// Frames many pictures into one folder, several at a time. Every file is
// framed in a worker process of its own: the engine's clipboard and start
// folder are process-wide, and a picture that brings a worker down costs
// only that file.
#pragma once

#include "cli/Options.h"

#include <string>
#include <vector>

namespace quillon {

// The output path of each input: DIR/<name without extension>.<format's
// extension>. Two inputs that would write the same file get an empty path
// for the later one.
std::vector<std::string> BatchOutputPaths(const std::vector<std::string>& inputs,
                                          const std::string& outputDir, TOutputFormat format);

// Runs the batch; failures are reported on stderr and the rest go on.
// Returns the exit status: 0 when every file was written, 1 otherwise.
int RunBatch(const TOptions& options);

} // namespace quillon
