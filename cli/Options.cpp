#include "cli/Options.h"

#include "formats/Formats.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace quillon {

namespace {

int ParseInt(const std::string& option, const std::string& text) {
    int v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || text.empty())
        throw EUsageError(option + " expects a whole number, not \"" + text + "\"");
    return v;
}

int ParseRanged(const std::string& option, const std::string& text, int lo, int hi) {
    const int v = ParseInt(option, text);
    if (v < lo || v > hi)
        throw EUsageError(option + " must lie between " + std::to_string(lo) + " and " +
                          std::to_string(hi) + ", not " + text);
    return v;
}

Color ParseColour(const std::string& option, std::string text) {
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    unsigned v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v, 16);
    if (text.size() != 6 || ec != std::errc() || p != end)
        throw EUsageError(option + " expects a colour as RRGGBB, not \"" + text + "\"");
    return RGB(int(v >> 16), int(v >> 8), int(v));
}

// "A,B,..." into exactly count whole numbers.
std::vector<int> ParseList(const std::string& option, const std::string& text, char sep,
                           std::size_t count, const std::string& form) {
    std::vector<int> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep)) out.push_back(ParseInt(option, part));
    if (out.size() != count || (!text.empty() && text.back() == sep))
        throw EUsageError(option + " expects " + form + ", not \"" + text + "\"");
    return out;
}

bool HasStyleOptions(const TFrameGroup& g) {
    return g.frameColor || g.borderColor || g.pattern || g.frameHeight || g.frameWidth ||
           g.borderWidth || g.scaled;
}

void CheckGroup(const TFrameGroup& g, bool stacked, bool last) {
    if (g.style < 0 && HasStyleOptions(g))
        throw EUsageError("frame options need a --style in the same group");
    if (stacked && g.style < 0 && g.commands.empty())
        throw EUsageError(last ? "--then must be followed by a style or an image command"
                               : "--then needs a style or an image command before it");
    if (g.style >= 0) {
        const std::pair<bool, const char*> given[] = {
            {bool(g.frameColor), "--frame-color"}, {bool(g.borderColor), "--border-color"},
            {bool(g.pattern), "--pattern"},        {bool(g.frameHeight), "--frame-height"},
            {bool(g.frameWidth), "--frame-width"}, {bool(g.borderWidth), "--border-width"},
            {bool(g.scaled), "--scaled"}};
        for (const auto& [present, option] : given)
            if (present && !StyleHasOption(g.style, option))
                throw EUsageError(std::string(option) + " is not a parameter of the " +
                                  StyleNames()[std::size_t(g.style)] +
                                  " style (see --list-styles)");
    }
    // The border width field edits the mask style's brightness, 0..255.
    if (g.borderWidth) {
        const int hi = g.style == 10 ? 255 : 50;
        if (*g.borderWidth < 0 || *g.borderWidth > hi)
            throw EUsageError("--border-width must lie between 0 and " + std::to_string(hi) +
                              " for this style, not " + std::to_string(*g.borderWidth));
    }
}

} // namespace

const std::vector<std::string>& StyleNames() {
    static const std::vector<std::string> names = {
        "corner", "matte",  "jagged", "oval", "diamond", "grayscale", "bubble",
        "button", "ornate", "shadow", "mask", "overlay", "box"};
    return names;
}

int StyleByName(const std::string& name) {
    const auto& names = StyleNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return int(i);
    int v = -1;
    const char* end = name.data() + name.size();
    auto [p, ec] = std::from_chars(name.data(), end, v);
    if (!name.empty() && ec == std::errc() && p == end && v >= 0 && v < int(names.size())) return v;
    return -1;
}

const char* FormatExtension(TOutputFormat format) {
    switch (format) {
    case TOutputFormat::Jpeg:
        return "jpg";
    case TOutputFormat::Gif:
        return "gif";
    default:
        return "bmp";
    }
}

TOptions ParseOptions(const std::vector<std::string>& args) {
    TOptions o;
    std::vector<std::string> positional;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            const auto eq = arg.find('=');
            if (eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg.erase(eq);
            }
        }
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw EUsageError(arg + " needs a value");
            return args[++i];
        };
        auto noValue = [&] {
            if (inlineValue) throw EUsageError(arg + " takes no value");
        };
        TFrameGroup& g = o.groups.back();

        if (arg == "--help" || arg == "-h") {
            noValue();
            o.help = true;
        } else if (arg == "--version") {
            noValue();
            o.version = true;
        } else if (arg == "--list-styles") {
            noValue();
            o.listStyles = true;
        } else if (arg == "--style") {
            const std::string v = value();
            const int style = StyleByName(v);
            if (style < 0) throw EUsageError("unknown style \"" + v + "\" (see --list-styles)");
            if (g.style >= 0) throw EUsageError("one --style per group; use --then to stack");
            g.style = style;
        } else if (arg == "--frame-color") {
            g.frameColor = ParseColour(arg, value());
        } else if (arg == "--border-color") {
            g.borderColor = ParseColour(arg, value());
        } else if (arg == "--pattern") {
            g.pattern = value();
            if (g.pattern->empty()) throw EUsageError("--pattern needs a file name");
        } else if (arg == "--frame-height") {
            g.frameHeight = ParseRanged(arg, value(), 0, 200);
        } else if (arg == "--frame-width") {
            g.frameWidth = ParseRanged(arg, value(), 0, 200);
        } else if (arg == "--border-width") {
            g.borderWidth = ParseInt(arg, value());
        } else if (arg == "--scaled") {
            const std::string v = value();
            if (v != "yes" && v != "no") throw EUsageError("--scaled expects yes or no");
            g.scaled = v == "yes";
        } else if (arg == "--rotate") {
            const std::string v = value();
            TImageCommand c;
            if (v == "right")
                c.kind = TImageCommand::RotateRight;
            else if (v == "left")
                c.kind = TImageCommand::RotateLeft;
            else if (v == "180")
                c.kind = TImageCommand::Rotate180;
            else
                throw EUsageError("--rotate expects right, left or 180");
            g.commands.push_back(c);
        } else if (arg == "--gray" || arg == "--grey") {
            noValue();
            g.commands.push_back({TImageCommand::Gray});
        } else if (arg == "--negative") {
            noValue();
            g.commands.push_back({TImageCommand::Negative});
        } else if (arg == "--resize") {
            const auto v = ParseList(arg, value(), 'x', 2, "WIDTHxHEIGHT");
            if (v[0] < 1 || v[1] < 1) throw EUsageError("--resize needs a size of at least 1x1");
            g.commands.push_back({TImageCommand::Resize, v[0], v[1]});
        } else if (arg == "--crop") {
            const auto v = ParseList(arg, value(), ',', 4, "LEFT,TOP,RIGHT,BOTTOM");
            if (v[2] <= v[0] || v[3] <= v[1])
                throw EUsageError("--crop needs RIGHT > LEFT and BOTTOM > TOP");
            g.commands.push_back({TImageCommand::Crop, v[0], v[1], v[2], v[3]});
        } else if (arg == "--then") {
            noValue();
            o.groups.emplace_back();
        } else if (arg == "--seed") {
            const std::string v = value();
            std::uint32_t s = 0;
            const char* end = v.data() + v.size();
            auto [p, ec] = std::from_chars(v.data(), end, s);
            if (v.empty() || ec != std::errc() || p != end)
                throw EUsageError("--seed expects a whole number from 0 to 4294967295");
            o.seed = s;
        } else if (arg == "--data-dir") {
            o.dataDir = value();
            if (o.dataDir.empty()) throw EUsageError("--data-dir needs a folder");
        } else if (arg == "--output-dir") {
            o.outputDir = value();
            if (o.outputDir.empty()) throw EUsageError("--output-dir needs a folder");
        } else if (arg == "--format") {
            const std::string v = value();
            if (v == "bmp")
                o.format = TOutputFormat::Bmp;
            else if (v == "jpg" || v == "jpeg")
                o.format = TOutputFormat::Jpeg;
            else if (v == "gif")
                o.format = TOutputFormat::Gif;
            else
                throw EUsageError("--format expects bmp, jpg or gif");
            formatGiven = true;
        } else if (arg == "--jobs" || arg == "-j") {
            o.jobs = ParseRanged(arg, value(), 1, 256);
        } else if (arg == "--") {
            for (++i; i < args.size(); ++i) positional.push_back(args[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw EUsageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (o.help || o.version || o.listStyles) return o;

    // A lone group with neither style nor command is a plain conversion.
    for (std::size_t i = 0; i < o.groups.size(); ++i)
        CheckGroup(o.groups[i], o.groups.size() > 1, i + 1 == o.groups.size());
    if (o.outputDir.empty()) {
        if (formatGiven) throw EUsageError("--format goes with --output-dir");
        if (positional.size() != 2)
            throw EUsageError(positional.size() < 2 ? "need an INPUT and an OUTPUT file"
                                                    : "several inputs need --output-dir DIR");
        o.inputs = {positional[0]};
        o.output = positional[1];
        if (PictureNameKind(o.output) == NameKind::Other)
            throw EUsageError("OUTPUT \"" + o.output +
                              "\" names no writer: its name must contain BMP, JPG, JPEG or GIF");
    } else {
        if (positional.empty()) throw EUsageError("no INPUT files given");
        o.inputs = positional;
    }
    return o;
}

std::string UsageText() {
    return R"(Usage:
  quillon-frame [OPTIONS] INPUT OUTPUT
  quillon-frame [OPTIONS] INPUT... --output-dir DIR [--format bmp|jpg|gif]

Frames photos with Quillon's framing engine. INPUT is any picture Quillon
reads; OUTPUT is written as JPEG, GIF or BMP, chosen by its name (the name is
searched for "JPG" or "JPEG", then "GIF", then "BMP").

Frame:
  --style NAME          corner, matte, jagged, oval, diamond, grayscale, bubble,
                        button, ornate, shadow, mask, overlay, box (or 0..12);
                        chosen at 100 % zoom with the style's defaults
  --frame-color RRGGBB  frame colour (removes a fill pattern first)
  --border-color RRGGBB border colour
  --pattern FILE        fill pattern, ornate picture, overlay or mask by style;
                        FILE may also be relative to the data folder
  --frame-height N      0..200
  --frame-width N       0..200
  --border-width N      0..50; for the mask style the brightness, 0..255
  --scaled yes|no       the style's check box (realistic shadow, gradient box)
  --seed N              fixed random seed for the jagged style
  --then                start a new frame group round the framed result

Image commands, applied before the group's frame in the order given:
  --rotate right|left|180   --gray   --negative
  --resize WxH              --crop LEFT,TOP,RIGHT,BOTTOM (picture pixels)

Other:
  --output-dir DIR      write each input to DIR under its own name
  --format bmp|jpg|gif  format of the files in DIR (default bmp)
  --jobs N              frame N files at once (default: the number of cores)
  --data-dir DIR        folder with Patterns/, Ornate/, Overlay/, masks/ and the
                        shadow pieces
  --list-styles         list the styles with their parameters and defaults
  --help, --version

Exit status: 0 success, 1 a file could not be read or written, 2 bad usage.
)";
}

namespace {

// What the edit bar offers for each style: the caption of each option's
// control (null: not offered) and the default the style starts with
// (W x H: the picture's size).
struct TStyleParameter {
    const char* option;
    const char* caption;
    const char* defaultValue;
};
struct TStyleInfo {
    const char* summary;
    std::vector<TStyleParameter> parameters;
};

const std::vector<TStyleInfo>& StyleInfo() {
    static const std::vector<TStyleInfo> info = {
        {"mitred frame",
         {{"--frame-height", "Frame Height", "min(W,H)/10"},
          {"--frame-width", "Frame Width", "min(W,H)/10"},
          {"--border-width", "Border Width", "1"},
          {"--frame-color", "Frame Color", "808080"},
          {"--border-color", "Border Color", "000000"},
          {"--pattern", "Fill Pattern", "none"}}},
        {"plain matte",
         {{"--frame-height", "Matte Height", "min(W,H)/10"},
          {"--frame-width", "Matte Width", "min(W,H)/10"},
          {"--border-width", "Border Width", "1"},
          {"--frame-color", "Matte Color", "C0C0C0"},
          {"--border-color", "Border Color", "000000"},
          {"--pattern", "Fill Pattern", "none"}}},
        {"torn edge",
         {{"--frame-height", "Horiz Edge", "H/15"},
          {"--frame-width", "Vertical Edge", "W/15"},
          {"--border-width", "Thickness", "1"},
          {"--frame-color", "Background Color", "FFFFFF"},
          {"--border-color", "Border Color", "000000"},
          {"--pattern", "Fill Pattern", "none"}}},
        {"oval opening",
         {{"--frame-height", "Vertical Gap", "1"},
          {"--frame-width", "Horiz Gap", "1"},
          {"--border-width", "Thickness", "1"},
          {"--frame-color", "Background Color", "FFFFFF"},
          {"--border-color", "Border Color", "000000"},
          {"--pattern", "Pattern", "none"}}},
        {"diamond opening",
         {{"--frame-height", "Vertical Gap", "1"},
          {"--frame-width", "Horiz Gap", "1"},
          {"--border-width", "Thickness", "2"},
          {"--frame-color", "Background Color", "FFFFFF"},
          {"--border-color", "Border Color", "000000"},
          {"--pattern", "Pattern", "none"}}},
        {"photo faded to gray inside coloured bands",
         {{"--frame-height", "Horizontal Color Band", "0"},
          {"--frame-width", "Vertical Color Band", "0"}}},
        {"chains of bubbles",
         {{"--frame-height", "Frame Height", "W/10"},
          {"--frame-width", "Frame Width", "W/10"},
          {"--border-width", "Thickness", "1"},
          {"--frame-color", "Frame Color", "FFFFFF"},
          {"--border-color", "Border Color", "000000"},
          {"--pattern", "Pattern", "none"}}},
        {"3D button bevel", {{"--frame-height", "Shadow Depth", "W/20"}}},
        {"frame cut from a picture of a moulding",
         {{"--pattern", "Picture Frame", "Ornate/_Orn001.bmp"}}},
        {"drop shadow",
         {{"--frame-height", "Spacing", "W/10"},
          {"--frame-color", "Shadow Color", "808080"},
          {"--border-color", "Border Color", "000000"},
          {"--pattern", "Pattern", "none"},
          {"--scaled", "Realistic Shadow", "yes"}}},
        {"mask fading the photo",
         {{"--border-width", "Brightness Level", "1"},
          {"--frame-color", "Background Color", "808080"},
          {"--pattern", "Mask", "masks/Grainy Edge.jpg"}}},
        {"decoration laid over the photo", {{"--pattern", "Overlay", "Overlay/Fire ball.bmp"}}},
        {"box seen from above",
         {{"--frame-height", "Box Depth", "W/10"},
          {"--frame-color", "Box Color", "FFFFFF"},
          {"--border-color", "Picture Border Color", "000000"},
          {"--pattern", "Pattern", "none"},
          {"--scaled", "Gradient Effect", "yes"}}},
    };
    return info;
}

} // namespace

bool StyleHasOption(int style, const std::string& option) {
    if (style < 0 || style >= int(StyleInfo().size())) return false;
    for (const auto& p : StyleInfo()[std::size_t(style)].parameters)
        if (option == p.option) return true;
    return false;
}

std::string StyleListText() {
    std::ostringstream out;
    out << "Styles, with the options each offers (the edit bar's caption) and their\n"
           "defaults for a W x H picture:\n";
    for (std::size_t i = 0; i < StyleInfo().size(); ++i) {
        const auto& s = StyleInfo()[i];
        out << (i < 10 ? " " : "") << i << " " << StyleNames()[i]
            << std::string(11 - StyleNames()[i].size(), ' ') << s.summary << "\n";
        for (const auto& p : s.parameters) {
            std::string option = p.option, caption = std::string("\"") + p.caption + "\"";
            option.resize(std::max<std::size_t>(option.size() + 1, 16), ' ');
            caption.resize(std::max<std::size_t>(caption.size() + 1, 25), ' ');
            out << "     " << option << caption << "default " << p.defaultValue << "\n";
        }
    }
    return out.str();
}

} // namespace quillon
