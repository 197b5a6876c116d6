// The command line of quillon-frame: what to frame, how, and where to write.
#pragma once

#include "document/Recipe.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

// A usage mistake: the message says what is wrong; the tool exits with 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class OutputFormat { Bmp, Jpeg, Gif, Png, Webp };

struct CliOptions {
    bool help = false;
    bool version = false;
    bool listStyles = false;
    // The framing: the groups and settings given as options, or read from
    // --recipe or --preset.
    Recipe recipe;
    std::string recipeFile;     // --recipe FILE
    std::string preset;         // --preset NAME
    std::string saveRecipeFile; // --save-recipe FILE
    bool listPresets = false;
    std::optional<PrintSize> storeFrame, opening; // --store-frame, --opening
    double cropPosition = 0.5;                    // --crop-position
    std::vector<std::string> inputs;
    std::string output;    // one input: the output file
    std::string outputDir; // several inputs: the output folder
    OutputFormat format = OutputFormat::Bmp;
    std::string dataDir;    // empty: the build's or the installed data folder
    int jobs = 0;           // 0: the number of cores
    bool autoOrient = true; // --no-auto-orient: photos as stored
};

// Parses argv (without the program name). Throws UsageError.
CliOptions ParseOptions(const std::vector<std::string>& args);

// Whether the edit bar offers option (e.g. "--frame-width") for style.
bool StyleHasOption(StyleId style, const std::string& option);
// The file extension of a format, without the dot.
const char* FormatExtension(OutputFormat format);

std::string UsageText();
std::string StyleListText();

} // namespace quillon
