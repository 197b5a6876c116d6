#include "document/FrameStack.h"

#include "frames/FrameStyle.h"

#include <algorithm>
#include <stdexcept>

namespace quillon {

void FrameStack::SetPhoto(std::unique_ptr<Bitmap> photo) {
    photo_ = std::move(photo);
    InvalidateFrom(0);
}

void FrameStack::Check(std::size_t k) const {
    if (k >= state_.groups.size())
        throw std::out_of_range("frame group " + std::to_string(k) + " of " +
                                std::to_string(state_.groups.size()));
}

void FrameStack::InvalidateFrom(std::size_t k) {
    outputs_.resize(state_.groups.size());
    for (std::size_t i = k; i < outputs_.size(); ++i) outputs_[i].reset();
    valid_ = std::min(valid_, k);
}

// --- The groups -----------------------------------------------------------------

void FrameStack::Append(const StackGroup& group) {
    state_.groups.push_back(group);
    InvalidateFrom(state_.groups.size() - 1);
}

void FrameStack::Edit(std::size_t k, const StackGroup& group) {
    Check(k);
    if (state_.groups[k] == group) return;
    state_.groups[k] = group;
    InvalidateFrom(k);
}

void FrameStack::Append(const StackGroup& group, std::unique_ptr<Bitmap>& painted) {
    Append(group);
    TakePainted(state_.groups.size() - 1, painted);
}

void FrameStack::Edit(std::size_t k, const StackGroup& group, std::unique_ptr<Bitmap>& painted) {
    Edit(k, group);
    TakePainted(k, painted);
}

void FrameStack::TakePainted(std::size_t k, std::unique_ptr<Bitmap>& painted) {
    if (!painted || !photo_ || valid_ != k || !state_.groups[k].visible) return;
    for (std::size_t i = 0; i <= k; ++i)
        if (!state_.groups[i].group.commands.empty()) return;
    // The lowest shown group fixes the lengths' scale, from the photo.
    if (LowestVisible(k)) scale_ = ScaleFor(*photo_, state_.printSize, state_.dpi);
    outputs_[k] = std::move(painted);
    valid_ = k + 1;
}

void FrameStack::SetVisible(std::size_t k, bool visible) {
    Check(k);
    if (state_.groups[k].visible == visible) return;
    state_.groups[k].visible = visible;
    InvalidateFrom(k);
}

void FrameStack::Move(std::size_t from, std::size_t to) {
    Check(from);
    Check(to);
    if (from == to) return;
    auto& g = state_.groups;
    if (from < to)
        std::rotate(g.begin() + std::ptrdiff_t(from), g.begin() + std::ptrdiff_t(from) + 1,
                    g.begin() + std::ptrdiff_t(to) + 1);
    else
        std::rotate(g.begin() + std::ptrdiff_t(to), g.begin() + std::ptrdiff_t(from),
                    g.begin() + std::ptrdiff_t(from) + 1);
    InvalidateFrom(std::min(from, to));
}

void FrameStack::Remove(std::size_t k) {
    Check(k);
    state_.groups.erase(state_.groups.begin() + std::ptrdiff_t(k));
    outputs_.erase(outputs_.begin() + std::ptrdiff_t(k));
    InvalidateFrom(k);
}

void FrameStack::Duplicate(std::size_t k) {
    Check(k);
    state_.groups.insert(state_.groups.begin() + std::ptrdiff_t(k) + 1, state_.groups[k]);
    outputs_.insert(outputs_.begin() + std::ptrdiff_t(k) + 1, nullptr);
    InvalidateFrom(k + 1);
}

// --- Undo -----------------------------------------------------------------------

void FrameStack::Restore(const State& state) {
    std::size_t same = 0;
    if (state.printSize == state_.printSize && state.dpi == state_.dpi)
        while (same < state.groups.size() && same < state_.groups.size() &&
               state.groups[same] == state_.groups[same])
            ++same;
    state_ = state;
    // The outputs below the first difference still belong to these groups.
    outputs_.resize(std::max(outputs_.size(), state_.groups.size()));
    InvalidateFrom(same);
}

// --- Recipes --------------------------------------------------------------------

Recipe FrameStack::ToRecipe() const {
    Recipe r;
    r.groups.clear();
    for (const StackGroup& g : state_.groups) {
        if (!g.visible) continue;
        r.groups.push_back(g.group);
        if (!r.seed) r.seed = g.seed;
    }
    if (r.groups.empty()) r.groups.emplace_back();
    r.printSize = state_.printSize;
    r.dpi = state_.dpi;
    return r;
}

void FrameStack::ReplaceWithRecipe(const Recipe& recipe) {
    if (recipe.storeFrame)
        throw RecipeError("a store frame crops and sizes the photo itself: it cannot be stacked");
    CheckRecipe(recipe);
    State s;
    for (const FrameGroup& g : recipe.groups) s.groups.push_back({g, recipe.seed, true});
    s.printSize = recipe.printSize;
    s.dpi = recipe.dpi;
    Restore(s);
}

// --- Rendering ------------------------------------------------------------------

bool FrameStack::LowestVisible(std::size_t k) const {
    for (std::size_t i = 0; i < k && i < state_.groups.size(); ++i)
        if (state_.groups[i].visible) return false;
    return true;
}

std::unique_ptr<Bitmap> FrameStack::CopyOfInput(std::size_t k, bool lowest) const {
    if (!lowest) return ScreenCopy(InputOf(k));
    auto input = std::make_unique<Bitmap>();
    input->Assign(*photo_);
    return input;
}

std::unique_ptr<Bitmap> FrameStack::InputCopy(std::size_t k) {
    if (k > Count()) Check(k);
    if (!Result()) return nullptr;
    return CopyOfInput(k, LowestVisible(k));
}

LengthScale FrameStack::GroupScale(std::size_t k, const Bitmap& photo) {
    if (LowestVisible(k)) return ScaleFor(photo, state_.printSize, state_.dpi);
    Result();
    return scale_;
}

void FrameStack::SetPrintBasis(const std::optional<PrintSize>& printSize,
                               const std::optional<double>& dpi) {
    if (printSize == state_.printSize && dpi == state_.dpi) return;
    state_.printSize = printSize;
    state_.dpi = dpi;
    InvalidateFrom(0);
}

const Bitmap& FrameStack::InputOf(std::size_t k) const {
    for (std::size_t i = k; i-- > 0;)
        if (state_.groups[i].visible) return *outputs_[i];
    return *photo_;
}

void FrameStack::RenderGroup(std::size_t k) {
    const StackGroup& g = state_.groups[k];
    outputs_[k].reset();
    if (!g.visible) return;
    const bool lowest = LowestVisible(k);

    // The group runs on a document of its own, as ApplyRecipe runs it: the
    // lowest visible group on the photo as it is, every other one on the
    // picture below it handed over as Apply Frame hands it over.
    PhotoDocument doc;
    doc.SetSeed(g.seed);
    doc.OpenPicture(CopyOfInput(k, lowest), "Clipboard", Zoom::Normal);
    RunGroupCommands(doc, g.group);
    if (lowest) scale_ = ScaleFor(doc.Photo(), state_.printSize, state_.dpi);
    FrameGroupStyle(doc, g.group, scale_);

    std::unique_ptr<Bitmap> out;
    if (FrameStyle* frame = doc.CurrentFrame()) {
        out = std::move(frame->Output);
    } else {
        out = std::make_unique<Bitmap>();
        out->Assign(doc.Photo());
    }
    ++counters_.groupsRendered;
    ++counters_.picturesMade;
    counters_.bytesMade += out->Stride() * std::size_t(out->Height());
    outputs_[k] = std::move(out);
}

const Bitmap* FrameStack::Result() {
    if (!photo_) return nullptr;
    outputs_.resize(state_.groups.size());
    while (valid_ < state_.groups.size()) {
        RenderGroup(valid_);
        ++valid_;
    }
    for (std::size_t i = state_.groups.size(); i-- > 0;)
        if (state_.groups[i].visible) return outputs_[i].get();
    return photo_.get();
}

std::size_t FrameStack::CachedBytes() const {
    std::size_t bytes = 0;
    for (const auto& out : outputs_)
        if (out) bytes += out->Stride() * std::size_t(out->Height());
    return bytes;
}

} // namespace quillon
