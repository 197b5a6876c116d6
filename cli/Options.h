// The command line of quillon-frame: what to frame, how, and where to write.
#pragma once

#include "canvas/Types.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillon {

// A usage mistake: the message says what is wrong; the tool exits with 2.
class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An image command applied to the photo before its frame, in the order given.
struct TImageCommand {
    enum Kind { RotateRight, RotateLeft, Rotate180, Gray, Negative, Resize, Crop };
    Kind kind = Gray;
    int a = 0, b = 0, c = 0, d = 0; // Resize: a x b; Crop: a, b, c, d = L, T, R, B
};

// One frame applied to the picture; the groups after the first frame the
// framed result of the one before ("--then").
struct TFrameGroup {
    std::vector<TImageCommand> commands;
    int style = -1; // -1: no frame, the picture is passed on as it is
    std::optional<Color> frameColor;
    std::optional<Color> borderColor;
    std::optional<std::string> pattern;
    std::optional<int> frameHeight;
    std::optional<int> frameWidth;
    std::optional<int> borderWidth;
    std::optional<bool> scaled;
};

enum class TOutputFormat { Bmp, Jpeg, Gif };

struct TOptions {
    bool help = false;
    bool version = false;
    bool listStyles = false;
    std::vector<TFrameGroup> groups{1};
    std::vector<std::string> inputs;
    std::string output;    // one input: the output file
    std::string outputDir; // several inputs: the output folder
    TOutputFormat format = TOutputFormat::Bmp;
    std::optional<std::uint32_t> seed;
    std::string dataDir; // empty: the build's or the installed data folder
    int jobs = 0;        // 0: the number of cores
};

// Parses argv (without the program name). Throws EUsageError.
TOptions ParseOptions(const std::vector<std::string>& args);

// The thirteen style names in style-number order.
const std::vector<std::string>& StyleNames();
// A style by name or number; -1 when unknown.
int StyleByName(const std::string& name);
// Whether the edit bar offers option (e.g. "--frame-width") for style.
bool StyleHasOption(int style, const std::string& option);
// The file extension of a format, without the dot.
const char* FormatExtension(TOutputFormat format);

std::string UsageText();
std::string StyleListText();

} // namespace quillon
