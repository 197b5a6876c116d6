// The command line of quillon-frame: what to frame, how, and where to write.
#pragma once

#include "canvas/Types.h"
#include "frames/Length.h"
#include "frames/StyleCatalog.h"

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

// An image command applied to the photo before its frame, in the order given.
struct ImageCommand {
    enum Kind { RotateRight, RotateLeft, Rotate180, Gray, Negative, Resize, Crop };
    Kind kind = Gray;
    int a = 0, b = 0, c = 0, d = 0; // Resize: a x b; Crop: a, b, c, d = L, T, R, B
};

// One frame applied to the picture; the groups after the first frame the
// framed result of the one before ("--then").
struct FrameGroup {
    std::vector<ImageCommand> commands;
    std::optional<StyleId> style; // none: no frame, the picture is passed on as it is
    std::optional<Color> frameColor;
    std::optional<Color> borderColor;
    std::optional<std::string> pattern;
    std::optional<Length> frameHeight;
    std::optional<Length> frameWidth;
    std::optional<Length> borderWidth; // the mask's brightness: a plain number
    std::optional<Length> frameTop, frameBottom, frameLeft, frameRight;
    std::optional<bool> scaled;
};

enum class OutputFormat { Bmp, Jpeg, Gif };

struct CliOptions {
    bool help = false;
    bool version = false;
    bool listStyles = false;
    std::vector<FrameGroup> groups{1};
    std::vector<std::string> inputs;
    std::string output;    // one input: the output file
    std::string outputDir; // several inputs: the output folder
    OutputFormat format = OutputFormat::Bmp;
    std::optional<std::uint32_t> seed;
    // The box the photo is printed to fit in, which gives physical lengths
    // their resolution; or the resolution itself, in pixels per inch.
    struct PrintSize {
        double width = 0, height = 0;
        LengthUnit unit = LengthUnit::Inches;
    };
    std::optional<PrintSize> printSize;
    std::optional<double> dpi;
    std::string dataDir; // empty: the build's or the installed data folder
    int jobs = 0;        // 0: the number of cores
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
