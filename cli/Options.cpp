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
        throw UsageError(option + " expects a whole number, not \"" + text + "\"");
    return v;
}

int ParseRanged(const std::string& option, const std::string& text, int lo, int hi) {
    const int v = ParseInt(option, text);
    if (v < lo || v > hi)
        throw UsageError(option + " must lie between " + std::to_string(lo) + " and " +
                         std::to_string(hi) + ", not " + text);
    return v;
}

Color ParseColour(const std::string& option, std::string text) {
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    unsigned v = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, v, 16);
    if (text.size() != 6 || ec != std::errc() || p != end)
        throw UsageError(option + " expects a colour as RRGGBB, not \"" + text + "\"");
    return RGB(int(v >> 16), int(v >> 8), int(v));
}

// "6x4in", "15x10cm", "150x100mm": a box with its unit, named once after the
// height.
PrintSize ParsePrintSize(const std::string& option, const std::string& text) {
    const auto x = text.find('x');
    std::optional<Length> h;
    double w = 0;
    if (x != std::string::npos) {
        h = ParseLength(text.substr(x + 1));
        const char* end = text.data() + x;
        const auto [p, ec] = std::from_chars(text.data(), end, w);
        if (ec != std::errc() || p != end) h.reset();
    }
    if (!h || !h->IsPhysical() || !(w > 0) || !(h->value > 0))
        throw UsageError(option +
                         " expects WIDTHxHEIGHT with a unit (6x4in, 15x10cm, 150x100mm), not \"" +
                         text + "\"");
    return {w, h->value, h->unit};
}

// "A,B,..." into exactly count whole numbers.
std::vector<int> ParseList(const std::string& option, const std::string& text, char sep,
                           std::size_t count, const std::string& form) {
    std::vector<int> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep)) out.push_back(ParseInt(option, part));
    if (out.size() != count || (!text.empty() && text.back() == sep))
        throw UsageError(option + " expects " + form + ", not \"" + text + "\"");
    return out;
}

// A length option: pixels, a percentage of the photo's shorter side (at
// most 50) or a physical length.
Length ParseLengthOption(const std::string& option, const std::string& text) {
    const std::optional<Length> length = ParseLength(text);
    if (!length)
        throw UsageError(option + " expects a length (pixels, N%, Nmm, Ncm or Nin), not \"" + text +
                         "\"");
    if (length->unit == LengthUnit::Percent && length->value > 50)
        throw UsageError(option + " must be at most 50% of the photo's shorter side, not " + text);
    return *length;
}

// The command-line option of each edit-bar field.
constexpr std::array<const char*, kEditFieldCount> kFieldOptions = {
    "--frame-height", "--frame-width", "--border-width", "--frame-color",
    "--border-color", "--pattern",     "--scaled"};

} // namespace

const char* FormatExtension(OutputFormat format) {
    switch (format) {
    case OutputFormat::Jpeg:
        return "jpg";
    case OutputFormat::Gif:
        return "gif";
    case OutputFormat::Png:
        return "png";
    case OutputFormat::Webp:
        return "webp";
    default:
        return "bmp";
    }
}

CliOptions ParseOptions(const std::vector<std::string>& args) {
    CliOptions o;
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
            if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
            return args[++i];
        };
        auto noValue = [&] {
            if (inlineValue) throw UsageError(arg + " takes no value");
        };
        FrameGroup& g = o.recipe.groups.back();

        if (arg == "--help" || arg == "-h") {
            noValue();
            o.help = true;
        } else if (arg == "--version") {
            noValue();
            o.version = true;
        } else if (arg == "--list-styles") {
            noValue();
            o.listStyles = true;
        } else if (arg == "--list-presets") {
            noValue();
            o.listPresets = true;
        } else if (arg == "--recipe") {
            o.recipeFile = value();
            if (o.recipeFile.empty()) throw UsageError("--recipe needs a file name");
        } else if (arg == "--preset") {
            o.preset = value();
            if (o.preset.empty()) throw UsageError("--preset needs a name (see --list-presets)");
        } else if (arg == "--save-recipe") {
            o.saveRecipeFile = value();
            if (o.saveRecipeFile.empty()) throw UsageError("--save-recipe needs a file name");
        } else if (arg == "--style") {
            const std::string v = value();
            const std::optional<StyleId> style = FindStyle(v);
            if (!style) throw UsageError("unknown style \"" + v + "\" (see --list-styles)");
            if (g.style) throw UsageError("one --style per group; use --then to stack");
            g.style = style;
        } else if (arg == "--frame-color") {
            g.frameColor = ParseColour(arg, value());
        } else if (arg == "--border-color") {
            g.borderColor = ParseColour(arg, value());
        } else if (arg == "--pattern") {
            g.pattern = value();
            if (g.pattern->empty()) throw UsageError("--pattern needs a file name");
        } else if (arg == "--frame-height") {
            g.frameHeight = ParseLengthOption(arg, value());
        } else if (arg == "--frame-width") {
            g.frameWidth = ParseLengthOption(arg, value());
        } else if (arg == "--frame-top") {
            g.frameTop = ParseLengthOption(arg, value());
        } else if (arg == "--frame-bottom") {
            g.frameBottom = ParseLengthOption(arg, value());
        } else if (arg == "--frame-left") {
            g.frameLeft = ParseLengthOption(arg, value());
        } else if (arg == "--frame-right") {
            g.frameRight = ParseLengthOption(arg, value());
        } else if (arg == "--print-size") {
            o.recipe.printSize = ParsePrintSize(arg, value());
        } else if (arg == "--store-frame") {
            o.storeFrame = ParsePrintSize(arg, value());
        } else if (arg == "--crop-position") {
            const std::string v = value();
            double d = -1;
            const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
            if (ec != std::errc() || p != v.data() + v.size() || !(d >= 0 && d <= 1))
                throw UsageError("--crop-position expects a number from 0 to 1, not \"" + v + "\"");
            o.cropPosition = d;
        } else if (arg == "--opening") {
            o.opening = ParsePrintSize(arg, value());
        } else if (arg == "--dpi") {
            const int v = ParseRanged(arg, value(), 1, 100000);
            o.recipe.dpi = v;
        } else if (arg == "--border-width") {
            g.borderWidth = ParseLengthOption(arg, value());
        } else if (arg == "--scaled") {
            const std::string v = value();
            if (v != "yes" && v != "no") throw UsageError("--scaled expects yes or no");
            g.scaled = v == "yes";
        } else if (arg == "--rotate") {
            const std::string v = value();
            ImageCommand c;
            if (v == "right")
                c.kind = ImageCommand::RotateRight;
            else if (v == "left")
                c.kind = ImageCommand::RotateLeft;
            else if (v == "180")
                c.kind = ImageCommand::Rotate180;
            else
                throw UsageError("--rotate expects right, left or 180");
            g.commands.push_back(c);
        } else if (arg == "--gray" || arg == "--grey") {
            noValue();
            g.commands.push_back({ImageCommand::Gray});
        } else if (arg == "--negative") {
            noValue();
            g.commands.push_back({ImageCommand::Negative});
        } else if (arg == "--resize") {
            const auto v = ParseList(arg, value(), 'x', 2, "WIDTHxHEIGHT");
            if (v[0] < 1 || v[1] < 1) throw UsageError("--resize needs a size of at least 1x1");
            g.commands.push_back({ImageCommand::Resize, v[0], v[1]});
        } else if (arg == "--crop") {
            const auto v = ParseList(arg, value(), ',', 4, "LEFT,TOP,RIGHT,BOTTOM");
            if (v[2] <= v[0] || v[3] <= v[1])
                throw UsageError("--crop needs RIGHT > LEFT and BOTTOM > TOP");
            g.commands.push_back({ImageCommand::Crop, v[0], v[1], v[2], v[3]});
        } else if (arg == "--then") {
            noValue();
            o.recipe.groups.emplace_back();
        } else if (arg == "--seed") {
            const std::string v = value();
            std::uint32_t s = 0;
            const char* end = v.data() + v.size();
            auto [p, ec] = std::from_chars(v.data(), end, s);
            if (v.empty() || ec != std::errc() || p != end)
                throw UsageError("--seed expects a whole number from 0 to 4294967295");
            o.recipe.seed = s;
        } else if (arg == "--data-dir") {
            o.dataDir = value();
            if (o.dataDir.empty()) throw UsageError("--data-dir needs a folder");
        } else if (arg == "--output-dir") {
            o.outputDir = value();
            if (o.outputDir.empty()) throw UsageError("--output-dir needs a folder");
        } else if (arg == "--format") {
            const std::string v = value();
            if (v == "bmp")
                o.format = OutputFormat::Bmp;
            else if (v == "jpg" || v == "jpeg")
                o.format = OutputFormat::Jpeg;
            else if (v == "gif")
                o.format = OutputFormat::Gif;
            else if (v == "png")
                o.format = OutputFormat::Png;
            else if (v == "webp")
                o.format = OutputFormat::Webp;
            else
                throw UsageError("--format expects bmp, jpg, gif, png or webp");
            formatGiven = true;
        } else if (arg == "--no-auto-orient") {
            noValue();
            o.autoOrient = false;
        } else if (arg == "--jobs" || arg == "-j") {
            o.jobs = ParseRanged(arg, value(), 1, 256);
        } else if (arg == "--") {
            for (++i; i < args.size(); ++i) positional.push_back(args[i]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw UsageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (o.help || o.version || o.listStyles || o.listPresets) return o;

    const bool framingGiven = o.recipe.groups != Recipe{}.groups;
    if (!o.recipeFile.empty() && !o.preset.empty())
        throw UsageError("give --recipe or --preset, not both");
    if ((!o.recipeFile.empty() || !o.preset.empty()) && framingGiven)
        throw UsageError("--recipe and --preset take the place of the frame options and image "
                         "commands; give one or the other");
    if (o.recipe.printSize && o.recipe.dpi)
        throw UsageError("give --print-size or --dpi, not both");
    if (bool(o.storeFrame) != bool(o.opening))
        throw UsageError("--store-frame and --opening go together");
    if (o.storeFrame) o.recipe.storeFrame = StoreFrame{*o.storeFrame, *o.opening, o.cropPosition};
    try {
        CheckRecipe(o.recipe);
    } catch (const RecipeError& e) {
        throw UsageError(e.what());
    }
    // Saving a recipe alone needs no picture.
    if (!o.saveRecipeFile.empty() && positional.empty() && o.outputDir.empty() && !formatGiven)
        return o;
    if (o.outputDir.empty()) {
        if (formatGiven) throw UsageError("--format goes with --output-dir");
        if (positional.size() != 2)
            throw UsageError(positional.size() < 2 ? "need an INPUT and an OUTPUT file"
                                                   : "several inputs need --output-dir DIR");
        o.inputs = {positional[0]};
        o.output = positional[1];
        if (!SaveFormatForName(o.output))
            throw UsageError("OUTPUT \"" + o.output +
                             "\" names no writer: its name must contain BMP, JPG, JPEG or GIF, or "
                             "end in .png or .webp");
    } else {
        if (positional.empty()) throw UsageError("no INPUT files given");
        o.inputs = positional;
    }
    return o;
}

namespace {

std::string UsageTemplate() {
    return R"(Usage:
  quillon-frame [OPTIONS] INPUT OUTPUT
  quillon-frame [OPTIONS] INPUT... --output-dir DIR [--format bmp|jpg|gif|png|webp]

Frames photos with Quillon's framing engine. INPUT is any picture Quillon
reads; OUTPUT is written as JPEG, GIF or BMP, chosen by its name (the file's
own name is searched for "JPG" or "JPEG", then "GIF", then "BMP"), or else
as PNG or WebP when it ends in .png or .webp.

Frame:
  --style NAME          @STYLES@ (or 0..@LAST@);
                        chosen at 100 % zoom with the style's defaults
  --frame-color RRGGBB  frame colour (removes a fill pattern first)
  --border-color RRGGBB border colour
  --pattern FILE        fill pattern, ornate picture, overlay or mask by style;
                        FILE may also be relative to the data folder
  --frame-height LEN    thickness at the top and bottom; for the ornate style
                        the moulding's width on every side
  --frame-width LEN     thickness at the left and right
  --frame-top LEN, --frame-bottom LEN, --frame-left LEN, --frame-right LEN
                        one side of a matte or corner frame (a deeper bottom)
  --border-width LEN    border width; for the shadow style the realistic
                        shadow's width; for the mask style the brightness, 0..255
  --scaled yes|no       the style's check box (realistic shadow, gradient box)

Lengths (LEN) are pixels (12), a percentage of the photo's shorter side (5%,
at most 50%), or a print length (15mm, 1.5cm, 0.5in) that needs one of:
  --print-size WxH      the photo is printed to fit in this box (6x4in,
                        15x10cm, 150x100mm), which sets its resolution
  --dpi N               the photo is printed at N pixels an inch
Pixels are the length times the resolution, rounded half away from zero. In
pixels a thickness may be up to 200 or half the shorter side, whichever is
more, and a border width up to 50 or an eighth of the shorter side; with a
unit any length may be up to half the shorter side. "The photo" is the
picture as opened, after the first group's image commands.
  --seed N              fixed random seed for the jagged style
  --then                start a new frame group round the framed result

Image commands, applied before the group's frame in the order given:
  --rotate right|left|180   --gray   --negative
  --resize WxH              --crop LEFT,TOP,RIGHT,BOTTOM (picture pixels)

Store frames:
  --store-frame WxH     a bought frame's outer size (13x18cm, 8x10in) ...
  --opening WxH         ... and its mat's opening (9x13cm, 5x7in): the photo is
                        cropped to the opening's proportions and a mat (give
                        its --frame-color, --border-color, --border-width)
                        fills the rest, so that the result prints at the
                        outer size; with --dpi N the photo is resized to fill
                        the opening at N pixels an inch
  --crop-position P     where the crop box sits, 0 (left or top) to 1 (right
                        or bottom); 0.5, centred, by default

Recipes:
  --recipe FILE         frame by a recipe file instead of frame options;
                        --seed, --print-size and --dpi still apply
  --preset NAME         frame by one of the presets (see --list-presets)
  --save-recipe FILE    write the framing given by the options (or read from
                        --recipe or --preset) as a recipe; without INPUT only
                        the recipe is written
  --list-presets        list the presets: the program's and your own, kept in
                        ~/.local/share/quillon/Presets

Other:
  --output-dir DIR      write each input to DIR under its own name
  --format bmp|jpg|gif|png|webp
                        format of the files in DIR (default bmp)
  --no-auto-orient      keep a photo as stored, not turned upright by the
                        camera's EXIF orientation
  --jobs N              frame N files at once (default: the number of cores)
  --data-dir DIR        folder with Patterns/, Ornate/, Overlay/, masks/ and the
                        shadow pieces
  --list-styles         list the styles with their parameters and defaults
  --help, --version

Exit status: 0 success, 1 a file could not be read or written, 2 bad usage.
)";
}

} // namespace

std::string UsageText() {
    std::string text = UsageTemplate();
    // The style names from the catalogue, wrapped to the option column.
    std::string names, line;
    for (const StyleInfo& s : StyleCatalog()) {
        const std::string item = std::string(s.cliName) + (&s == &StyleCatalog().back() ? "" : ",");
        if (!line.empty() && line.size() + 1 + item.size() > 46) {
            names += line + "\n" + std::string(24, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + item;
    }
    names += line;
    text.replace(text.find("@STYLES@"), 8, names);
    text.replace(text.find("@LAST@"), 6, std::to_string(kStyleCount - 1));
    return text;
}

bool StyleHasOption(StyleId style, const std::string& option) {
    const StyleInfo& info = StyleInfoOf(style);
    for (int f = 0; f < kEditFieldCount; ++f)
        if (option == kFieldOptions[std::size_t(f)]) return info.Shows(EditField(f));
    return false;
}

std::string StyleListText() {
    std::ostringstream out;
    out << "Styles, with the options each offers (the edit bar's caption) and their\n"
           "defaults for a W x H picture:\n";
    for (const StyleInfo& s : StyleCatalog()) {
        const int number = int(s.id);
        const std::string name = s.cliName;
        out << (number < 10 ? " " : "") << number << " " << name
            << std::string(11 - name.size(), ' ') << s.summary << "\n";
        for (int f = 0; f < kEditFieldCount; ++f) {
            if (!s.Shows(EditField(f))) continue;
            std::string option = kFieldOptions[std::size_t(f)];
            std::string caption = std::string("\"") + s.captions[std::size_t(f)] + "\"";
            option.resize(std::max<std::size_t>(option.size() + 1, 16), ' ');
            caption.resize(std::max<std::size_t>(caption.size() + 1, 25), ' ');
            out << "     " << option << caption << "default " << s.defaultsText[std::size_t(f)]
                << "\n";
        }
    }
    return out.str();
}

} // namespace quillon
