#include "document/RecipeFile.h"

#include "formats/Formats.h"

#include <toml++/toml.h>

#include <charconv>
#include <cstdio>
#include <set>
#include <sstream>

namespace quillon {

namespace {

constexpr std::int64_t kRecipeVersion = 1;
// Recipes are a few hundred bytes; anything far larger is not one.
constexpr std::uintmax_t kMaxRecipeBytes = 1 << 20;

[[noreturn]] void Fail(const std::string& name, const toml::source_region& where,
                       const std::string& what) {
    throw RecipeError(name + ":" + std::to_string(where.begin.line) + ": " + what);
}

struct CommandName {
    const char* text;
    ImageCommand::Kind kind;
};
constexpr CommandName kCommands[] = {{"rotate right", ImageCommand::RotateRight},
                                     {"rotate left", ImageCommand::RotateLeft},
                                     {"rotate 180", ImageCommand::Rotate180},
                                     {"gray", ImageCommand::Gray},
                                     {"negative", ImageCommand::Negative},
                                     {"resize", ImageCommand::Resize},
                                     {"crop", ImageCommand::Crop}};

// "N1<sep>N2..." into exactly count whole numbers.
bool ParseInts(std::string_view text, char sep, std::size_t count, int* out) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = i + 1 < count ? text.find(sep) : text.size();
        if (end == std::string_view::npos) return false;
        const std::string_view part = text.substr(0, end);
        const auto [p, ec] = std::from_chars(part.data(), part.data() + part.size(), out[i]);
        if (ec != std::errc() || p != part.data() + part.size()) return false;
        text.remove_prefix(std::min(text.size(), end + 1));
    }
    return true;
}

std::optional<ImageCommand> ParseCommand(std::string_view text) {
    for (const CommandName& c : kCommands) {
        const std::string_view name = c.text;
        if (text == name && c.kind != ImageCommand::Resize && c.kind != ImageCommand::Crop)
            return ImageCommand{c.kind};
        if ((c.kind == ImageCommand::Resize || c.kind == ImageCommand::Crop) &&
            text.rfind(name, 0) == 0 && text.size() > name.size() + 1 && text[name.size()] == ' ') {
            ImageCommand cmd{c.kind};
            int v[4] = {};
            const std::string_view args = text.substr(name.size() + 1);
            if (c.kind == ImageCommand::Resize) {
                if (!ParseInts(args, 'x', 2, v) || v[0] < 1 || v[1] < 1) return std::nullopt;
            } else if (!ParseInts(args, ',', 4, v) || v[2] <= v[0] || v[3] <= v[1]) {
                return std::nullopt;
            }
            cmd.a = v[0], cmd.b = v[1], cmd.c = v[2], cmd.d = v[3];
            return cmd;
        }
    }
    return std::nullopt;
}

std::string CommandText(const ImageCommand& c) {
    for (const CommandName& n : kCommands)
        if (n.kind == c.kind) {
            if (c.kind == ImageCommand::Resize)
                return std::string(n.text) + " " + std::to_string(c.a) + "x" + std::to_string(c.b);
            if (c.kind == ImageCommand::Crop)
                return std::string(n.text) + " " + std::to_string(c.a) + "," + std::to_string(c.b) +
                       "," + std::to_string(c.c) + "," + std::to_string(c.d);
            return n.text;
        }
    return {};
}

std::optional<Color> ParseColour(std::string_view text) {
    if (!text.empty() && text[0] == '#') text.remove_prefix(1);
    unsigned v = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    if (text.size() != 6 || ec != std::errc() || p != text.data() + text.size())
        return std::nullopt;
    return RGB(int(v >> 16), int(v >> 8), int(v));
}

std::string ColourText(Color c) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

// "6x4in": the box's width, then its height with the unit.
std::optional<PrintSize> ParsePrintSizeText(std::string_view text) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    const std::optional<Length> h = ParseLength(text.substr(x + 1));
    double w = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + x, w);
    if (!h || !h->IsPhysical() || ec != std::errc() || p != text.data() + x || !(w > 0) ||
        !(h->value > 0))
        return std::nullopt;
    return PrintSize{w, h->value, h->unit};
}

std::string PrintSizeText(const PrintSize& s) {
    return FormatLength({s.width, LengthUnit::Pixels}) + "x" + FormatLength({s.height, s.unit});
}

// Reads a length: a whole number of pixels, or text with a unit.
Length ReadLength(const std::string& name, const toml::node& node, const char* key) {
    if (const auto* i = node.as_integer()) {
        if (i->get() < 0 || i->get() > 100000)
            Fail(name, node.source(), std::string(key) + " must be a length of 0 pixels or more");
        return {double(i->get()), LengthUnit::Pixels};
    }
    if (const auto* s = node.as_string())
        if (const std::optional<Length> l = ParseLength(s->get())) return *l;
    Fail(name, node.source(),
         std::string(key) + " must be a length (40, \"5%\", \"12mm\", \"1cm\" or \"0.5in\")");
}

const toml::node& Require(const std::string& name, const toml::node* node, toml::node_type type,
                          const char* key, const char* what) {
    if (node->type() != type) Fail(name, node->source(), std::string(key) + " must be " + what);
    return *node;
}

FrameGroup ReadGroup(const std::string& name, const toml::table& t) {
    FrameGroup g;
    for (const auto& [k, node] : t) {
        const std::string key(k.str());
        if (key == "commands") {
            const auto* list = node.as_array();
            if (!list) Fail(name, node.source(), "commands must be a list of texts");
            for (const toml::node& item : *list) {
                const auto* s = item.as_string();
                const std::optional<ImageCommand> c =
                    s ? ParseCommand(s->get()) : std::optional<ImageCommand>();
                if (!c)
                    Fail(name, item.source(),
                         "a command is \"rotate right\", \"rotate left\", \"rotate 180\", "
                         "\"gray\", \"negative\", \"resize WxH\" or \"crop L,T,R,B\"");
                g.commands.push_back(*c);
            }
        } else if (key == "style") {
            const auto* s = node.as_string();
            const std::optional<StyleId> style = s ? FindStyle(s->get()) : std::nullopt;
            if (!style)
                Fail(name, node.source(),
                     "style must name a style (see quillon-frame --list-styles)");
            g.style = style;
        } else if (key == "frame-color" || key == "border-color") {
            const auto* s = node.as_string();
            const std::optional<Color> c = s ? ParseColour(s->get()) : std::nullopt;
            if (!c) Fail(name, node.source(), key + " must be a colour as \"RRGGBB\"");
            (key == "frame-color" ? g.frameColor : g.borderColor) = c;
        } else if (key == "pattern") {
            const auto& s = Require(name, &node, toml::node_type::string, "pattern", "a file name");
            g.pattern = s.as_string()->get();
            if (g.pattern->empty()) Fail(name, node.source(), "pattern must name a file");
        } else if (key == "scaled") {
            Require(name, &node, toml::node_type::boolean, "scaled", "true or false");
            g.scaled = node.as_boolean()->get();
        } else {
            bool known = false;
            for (const LengthSetting& s : LengthSettings())
                if (key == s.name) {
                    g.*s.member = ReadLength(name, node, s.name);
                    known = true;
                }
            if (!known) Fail(name, node.source(), "unknown key " + key);
        }
    }
    return g;
}

} // namespace

Recipe ParseRecipe(const std::string& text, const std::string& name) {
    toml::table root;
    try {
        root = toml::parse(text, name);
    } catch (const toml::parse_error& e) {
        Fail(name, e.source(), std::string(e.description()));
    }
    Recipe r;
    r.groups.clear();
    std::vector<toml::source_region> groupPlaces;
    std::optional<PrintSize> storeOuter, storeOpening;
    double cropPosition = 0.5;
    toml::source_region storePlace;
    for (const auto& [k, node] : root) {
        const std::string key(k.str());
        if (key == "version") {
            const auto* v = node.as_integer();
            if (!v || v->get() != kRecipeVersion)
                Fail(name, node.source(), "this program reads recipes of version 1");
        } else if (key == "print-size") {
            const auto* s = node.as_string();
            r.printSize = s ? ParsePrintSizeText(s->get()) : std::nullopt;
            if (!r.printSize)
                Fail(name, node.source(),
                     "print-size must be WIDTHxHEIGHT with a unit (\"6x4in\", \"15x10cm\")");
        } else if (key == "crop-position") {
            const std::optional<double> v = node.value<double>();
            if (!v || !(*v >= 0 && *v <= 1))
                Fail(name, node.source(), "crop-position must be a number from 0 to 1");
            cropPosition = *v;
        } else if (key == "store-frame" || key == "opening") {
            const auto* s = node.as_string();
            const std::optional<PrintSize> box = s ? ParsePrintSizeText(s->get()) : std::nullopt;
            if (!box)
                Fail(name, node.source(),
                     key + " must be WIDTHxHEIGHT with a unit (\"13x18cm\", \"8x10in\")");
            (key == "store-frame" ? storeOuter : storeOpening) = box;
            storePlace = node.source();
        } else if (key == "dpi") {
            const auto* v = node.as_integer();
            if (!v || v->get() < 1 || v->get() > 100000)
                Fail(name, node.source(), "dpi must be a whole number from 1 to 100000");
            r.dpi = double(v->get());
        } else if (key == "seed") {
            const auto* v = node.as_integer();
            if (!v || v->get() < 0 || v->get() > 0xFFFFFFFFll)
                Fail(name, node.source(), "seed must be a whole number from 0 to 4294967295");
            r.seed = std::uint32_t(v->get());
        } else if (key == "group") {
            const auto* groups = node.as_array();
            if (!groups) Fail(name, node.source(), "group must be written as [[group]] tables");
            for (const toml::node& g : *groups) {
                const auto* t = g.as_table();
                if (!t) Fail(name, g.source(), "group must be written as [[group]] tables");
                r.groups.push_back(ReadGroup(name, *t));
                groupPlaces.push_back(g.source());
            }
        } else {
            Fail(name, node.source(), "unknown key " + key);
        }
    }
    if (r.groups.empty()) throw RecipeError(name + ":1: a recipe needs at least one [[group]]");
    if (bool(storeOuter) != bool(storeOpening))
        Fail(name, storePlace, "store-frame and opening go together");
    if (storeOuter) r.storeFrame = StoreFrame{*storeOuter, *storeOpening, cropPosition};
    // The rules that join settings, reported at the group they concern.
    for (std::size_t i = 0; i < r.groups.size(); ++i) {
        try {
            CheckGroup(GroupAsChecked(r, i), r.groups.size() > 1, i + 1 == r.groups.size());
        } catch (const RecipeError& e) {
            Fail(name, groupPlaces[i], e.what());
        }
    }
    try {
        CheckRecipe(r);
    } catch (const RecipeError& e) {
        throw RecipeError(name + ":1: " + e.what());
    }
    return r;
}

Recipe LoadRecipe(const std::string& fileName) {
    const std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    if (bytes.size() > kMaxRecipeBytes) throw RecipeError(fileName + ": too large to be a recipe");
    return ParseRecipe(std::string(bytes.begin(), bytes.end()), fileName);
}

std::string RecipeText(const Recipe& r) {
    // Written by hand, in a fixed order, so that a recipe reads as its
    // options were given; toml++ reads it back.
    std::ostringstream out;
    const auto quoted = [](const std::string& s) {
        std::ostringstream q;
        q << toml::value<std::string>(s);
        return q.str();
    };
    out << "version = " << kRecipeVersion << "\n";
    if (r.printSize) out << "print-size = " << quoted(PrintSizeText(*r.printSize)) << "\n";
    if (r.dpi) out << "dpi = " << std::int64_t(*r.dpi) << "\n";
    if (r.seed) out << "seed = " << *r.seed << "\n";
    if (const auto& s = r.storeFrame) {
        out << "store-frame = " << quoted(PrintSizeText(s->outer)) << "\n";
        out << "opening = " << quoted(PrintSizeText(s->opening)) << "\n";
        if (s->cropPosition != 0.5) {
            // A TOML float, written so that it reads back the same.
            char v[32];
            std::snprintf(v, sizeof v, "%.17g", s->cropPosition);
            std::string text = v;
            if (text.find_first_of(".e") == std::string::npos) text += ".0";
            out << "crop-position = " << text << "\n";
        }
    }
    for (const FrameGroup& g : r.groups) {
        out << "\n[[group]]\n";
        if (!g.commands.empty()) {
            out << "commands = [";
            for (std::size_t i = 0; i < g.commands.size(); ++i)
                out << (i ? ", " : "") << quoted(CommandText(g.commands[i]));
            out << "]\n";
        }
        if (g.style) out << "style = " << quoted(StyleInfoOf(*g.style).cliName) << "\n";
        if (g.frameColor) out << "frame-color = " << quoted(ColourText(*g.frameColor)) << "\n";
        if (g.borderColor) out << "border-color = " << quoted(ColourText(*g.borderColor)) << "\n";
        if (g.pattern) out << "pattern = " << quoted(*g.pattern) << "\n";
        for (const LengthSetting& s : LengthSettings()) {
            const std::optional<Length>& l = g.*s.member;
            if (!l) continue;
            out << s.name << " = ";
            if (l->unit == LengthUnit::Pixels)
                out << std::int64_t(l->value) << "\n";
            else
                out << quoted(FormatLength(*l)) << "\n";
        }
        if (g.scaled) out << "scaled = " << (*g.scaled ? "true" : "false") << "\n";
    }
    return out.str();
}

void SaveRecipe(const Recipe& recipe, const std::string& fileName) {
    const std::string text = RecipeText(recipe);
    WriteFileReplacing(fileName,
                       std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace quillon
