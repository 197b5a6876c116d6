#include "document/FramingRecord.h"

#include "formats/DataPaths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace quillon {

namespace {

// A decoration inside the data folder is written relative to it, as the
// presets name theirs, so that the recipe works on any installation.
std::string PortablePattern(const std::string& fileName) {
    const std::string& start = StartFolder();
    if (!start.empty() && fileName.size() > start.size() + 1 &&
        fileName.compare(0, start.size(), start) == 0 && fileName[start.size()] == '/')
        return fileName.substr(start.size() + 1);
    return fileName;
}

} // namespace

bool EditUnits::AnyPhysical() const {
    return std::any_of(units.begin(), units.end(), [](LengthUnit u) {
        return Length{0, u}.IsPhysical();
    });
}

double PixelsPerInch(const EditUnits& units, int w, int h) {
    if (units.dpi) return *units.dpi;
    return ResolutionForPrintSize(w, h, units.printSize.width, units.printSize.height,
                                  units.printSize.unit);
}

double PixelsInUnit(int pixels, LengthUnit unit, int shorterSide, double pixelsPerInch) {
    switch (unit) {
    case LengthUnit::Pixels:
        return pixels;
    case LengthUnit::Percent:
        return shorterSide > 0 ? 100.0 * pixels / shorterSide : 0;
    default:
        return pixelsPerInch > 0 ? pixels / pixelsPerInch / InInches(1, unit) : 0;
    }
}

std::string LengthValueText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

void SizeAfterCommands(const std::vector<ImageCommand>& commands, int& w, int& h) {
    for (const ImageCommand& c : commands) {
        switch (c.kind) {
        case ImageCommand::RotateRight:
        case ImageCommand::RotateLeft:
            std::swap(w, h);
            break;
        case ImageCommand::Resize:
            if (c.a > 0 && c.b > 0) {
                w = c.a;
                h = c.b;
            }
            break;
        case ImageCommand::Crop: {
            const int l = std::max(c.a, 0), t = std::max(c.b, 0);
            const int r = std::min(c.c, w), b = std::min(c.d, h);
            if (r > l && b > t) {
                w = r - l;
                h = b - t;
            }
            break;
        }
        default:
            break;
        }
    }
}

void ResolveRecipePatterns(Recipe& recipe) {
    namespace fs = std::filesystem;
    for (FrameGroup& g : recipe.groups) {
        if (!g.pattern) continue;
        const std::string& name = *g.pattern;
        std::error_code ec;
        std::string found;
        if (fs::is_regular_file(name, ec))
            found = name;
        else if (!name.empty() && name[0] != '/' && fs::is_regular_file(StartFolderFile(name), ec))
            found = StartFolderFile(name);
        else if (const std::string noCase = FindFileNoCase(name); fs::is_regular_file(noCase, ec))
            found = noCase;
        if (found.empty()) throw RecipeError("cannot find the pattern file " + name);
        g.pattern = found;
    }
}

// --- FramingRecord ---------------------------------------------------------------------

void FramingRecord::Start(int w, int h) {
    *this = FramingRecord();
    baseWidth_ = w;
    baseHeight_ = h;
}

void FramingRecord::AddCommand(const ImageCommand& command, int w, int h) {
    commands_.push_back(command);
    // Percentages refer to the photo as the first group leaves it.
    if (done_.empty()) {
        baseWidth_ = w;
        baseHeight_ = h;
    }
}

void FramingRecord::ChooseStyle(StyleId style, Zoom zoom) {
    auto& slot = styles_[std::size_t(style)];
    if (!slot) {
        slot = FrameGroup();
        slot->style = style;
        madeAt_[std::size_t(style)] = zoom;
    }
    current_ = style;
}

FrameGroup* FramingRecord::currentGroup() {
    return current_ ? &*styles_[std::size_t(*current_)] : nullptr;
}

void FramingRecord::SetLength(EditField field, const Length& length) {
    FrameGroup* g = currentGroup();
    const auto member = LengthMember(field);
    if (!g || !member) return;
    g->*member = length;
    // A height or width given again replaces the sides that a recipe gave.
    if (field == EditField::FrameHeight) g->frameTop = g->frameBottom = std::nullopt;
    if (field == EditField::FrameWidth) g->frameLeft = g->frameRight = std::nullopt;
}

void FramingRecord::SetFrameColor(Color color) {
    if (FrameGroup* g = currentGroup()) {
        g->frameColor = color;
        g->pattern.reset();
    }
}

void FramingRecord::SetBorderColor(Color color) {
    if (FrameGroup* g = currentGroup()) g->borderColor = color;
}

void FramingRecord::SetPattern(const std::string& fileName) {
    FrameGroup* g = currentGroup();
    if (!g) return;
    // An empty name takes the pattern away, as a recipe without one.
    if (fileName.empty())
        g->pattern.reset();
    else
        g->pattern = PortablePattern(fileName);
    // A moulding brings its own width: one given before no longer holds.
    if (current_ == StyleId::Ornate) {
        g->frameHeight.reset();
        g->frameWidth.reset();
    }
}

void FramingRecord::SetScaled(bool scaled) {
    if (FrameGroup* g = currentGroup()) g->scaled = scaled;
}

std::optional<Length> FramingRecord::GivenLength(EditField field) const {
    const auto member = LengthMember(field);
    if (!current_ || !member) return std::nullopt;
    return (*styles_[std::size_t(*current_)]).*member;
}

FrameGroup FramingRecord::Group(const PhotoDocument* doc) const {
    FrameGroup g;
    if (current_) {
        g = *styles_[std::size_t(*current_)];
        const StyleInfo& info = StyleInfoOf(*current_);
        // Defaults that follow the photo's shown size were worked out at
        // the zoom the style was made at; a recipe works at 100 %, so such
        // lengths are written as the pixels they came to.
        if (madeAt_[std::size_t(*current_)] != Zoom::Normal && doc && doc->Style() == current_) {
            const std::pair<EditField, int> shown[] = {
                {EditField::FrameHeight, doc->GetFrameHeight()},
                {EditField::FrameWidth, doc->GetFrameWidth()},
                {EditField::BorderWidth, doc->GetBorderWidth()}};
            for (const auto& [field, pixels] : shown) {
                if (!info.Shows(field)) continue;
                if (field == EditField::BorderWidth && !info.thirdFieldIsLength) continue;
                auto& length = g.*LengthMember(field);
                if (!length) length = Length{double(pixels), LengthUnit::Pixels};
            }
        }
    }
    g.commands = commands_;
    return g;
}

void FramingRecord::ApplyFrame(const PhotoDocument& doc) {
    done_.push_back(FinishGroup(doc));
    done_.back().commands = std::move(commands_);
    commands_.clear();
}

FrameGroup FramingRecord::FinishGroup(const PhotoDocument& doc) {
    FrameGroup g = Group(&doc);
    g.commands.clear();
    for (auto& s : styles_) s.reset();
    current_.reset();
    return g;
}

void FramingRecord::EditGroup(const FrameGroup& group, int w, int h) {
    Start(w, h);
    commands_ = group.commands;
    if (!group.style) return;
    FrameGroup settings = group;
    settings.commands.clear();
    styles_[std::size_t(*group.style)] = settings;
    madeAt_[std::size_t(*group.style)] = Zoom::Normal;
    current_ = group.style;
}

void FramingRecord::Adopt(const Recipe& recipe, int w, int h) {
    // Commands done before any frame was applied stay in front of the
    // recipe's own: the photo it was applied to is what they left. After an
    // applied frame the record starts from the photo as it is.
    std::vector<ImageCommand> before;
    if (done_.empty()) before = commands_;
    Start(w, h);
    SizeAfterCommands(recipe.groups.front().commands, baseWidth_, baseHeight_);
    storeFrame_ = recipe.storeFrame;
    if (storeFrame_) storeDpi_ = recipe.dpi;
    seed_ = recipe.seed;
    for (std::size_t i = 0; i + 1 < recipe.groups.size(); ++i)
        done_.push_back(GroupAsChecked(recipe, i));
    const FrameGroup last = GroupAsChecked(recipe, recipe.groups.size() - 1);
    commands_ = last.commands;
    auto& first = done_.empty() ? commands_ : done_.front().commands;
    first.insert(first.begin(), before.begin(), before.end());
    if (last.style) {
        FrameGroup settings = last;
        settings.commands.clear();
        styles_[std::size_t(*last.style)] = settings;
        madeAt_[std::size_t(*last.style)] = Zoom::Normal;
        current_ = last.style;
    }
}

Recipe FramingRecord::ToRecipe(const PhotoDocument* doc, const EditUnits& units,
                               const std::vector<FrameGroup>& stacked) const {
    Recipe r;
    r.groups = done_;
    FrameGroup current = Group(doc);
    for (FrameGroup g : stacked) {
        g.commands.insert(g.commands.begin(), current.commands.begin(), current.commands.end());
        current.commands.clear();
        r.groups.push_back(std::move(g));
    }
    // A group with nothing to do after an applied frame is left out.
    if (r.groups.empty() || current.style || !current.commands.empty()) r.groups.push_back(current);
    r.storeFrame = storeFrame_;
    r.seed = seed_;
    if (std::any_of(r.groups.begin(), r.groups.end(), HasPrintLengths)) {
        if (units.dpi)
            r.dpi = units.dpi;
        else
            r.printSize = units.printSize;
    }
    // A store frame keeps the resolution it was applied with.
    if (r.storeFrame && storeDpi_) r.dpi = storeDpi_;
    return r;
}

} // namespace quillon
