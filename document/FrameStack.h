// FrameStack: a photo and the frames stacked on it, kept live. Each group
// holds its image commands, a style and the settings given for it, the
// random seed of its torn edges and whether it is shown. The picture is the
// photo run through every visible group in order, each group framing what
// the one below it gave, exactly as applying the same groups as a recipe
// (ApplyRecipe) frames it: the render from settings is the definition.
//
// Rendering keeps each group's output, so that a change to group k paints
// groups k..n again and reuses the pictures below k. The stack's state is
// plain data (State), small enough to keep as an undo step: restoring one
// paints only from the first group that differs.
#pragma once

#include "canvas/Bitmap.h"
#include "document/Recipe.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

struct StackGroup {
    FrameGroup group;
    std::optional<std::uint32_t> seed;
    bool visible = true;
    friend bool operator==(const StackGroup&, const StackGroup&) = default;
};

class FrameStack {
public:
    // What an undo step of the stack records: settings, never pixels.
    struct State {
        std::vector<StackGroup> groups;
        // What gives print lengths their resolution (see Recipe).
        std::optional<PrintSize> printSize;
        std::optional<double> dpi;
        friend bool operator==(const State&, const State&) = default;
    };

    // How much painting the renders since ResetCounters did: groups framed,
    // pictures kept in the cache, and the bytes of those pictures.
    struct Counters {
        int groupsRendered = 0;
        int picturesMade = 0;
        std::size_t bytesMade = 0;
    };

    FrameStack() = default;
    FrameStack(const FrameStack&) = delete;
    FrameStack& operator=(const FrameStack&) = delete;

    // A new photo under the same groups; every group paints again.
    void SetPhoto(std::unique_ptr<Bitmap> photo);
    bool HasPhoto() const { return photo_ != nullptr; }
    const Bitmap& Photo() const { return *photo_; }

    // --- The groups, bottom (0) to top -----------------------------------------
    std::size_t Count() const { return state_.groups.size(); }
    const StackGroup& Group(std::size_t k) const { return state_.groups.at(k); }
    const std::vector<StackGroup>& Groups() const { return state_.groups; }
    // "Apply Frame": group goes on top.
    void Append(const StackGroup& group);
    // Replaces group k's settings (an edit of any of its fields).
    void Edit(std::size_t k, const StackGroup& group);
    void SetVisible(std::size_t k, bool visible);
    // Moves group from to position to (both below Count).
    void Move(std::size_t from, std::size_t to);
    void Remove(std::size_t k);
    // A copy of group k goes right above it.
    void Duplicate(std::size_t k);
    // Indices past the top throw std::out_of_range and change nothing.

    // Append and Edit with the group's picture painted elsewhere from the
    // same input and settings (the edit bar's document): kept as the
    // group's output instead of painting it again. It is taken (painted
    // left null) only where the stack would paint exactly that: the groups
    // below up to date, the group shown, and no group up to it with image
    // commands of its own; otherwise painted stays with the caller and the
    // group paints as usual.
    void Append(const StackGroup& group, std::unique_ptr<Bitmap>& painted);
    void Edit(std::size_t k, const StackGroup& group, std::unique_ptr<Bitmap>& painted);

    // --- Undo ------------------------------------------------------------------
    const State& Snapshot() const { return state_; }
    // Puts back an earlier state; the outputs of the groups below the first
    // one that differs are kept.
    void Restore(const State& state);

    // --- Recipes ---------------------------------------------------------------
    // The visible groups as a recipe: applying it to the photo gives Result.
    // A recipe has one seed: the first visible group's that has one.
    Recipe ToRecipe() const;
    // The recipe's groups replace the stack's, all visible. A recipe that
    // does not make sense, or one with a store frame (which crops and sizes
    // the photo itself and is not stacked), throws RecipeError and changes
    // nothing.
    void ReplaceWithRecipe(const Recipe& recipe);

    // --- The picture -----------------------------------------------------------
    // The photo framed by every visible group, painted as far as needed.
    // Null without a photo. Throws PictureError and SettingError as
    // ApplyRecipe does; the groups below the failing one keep their outputs.
    const Bitmap* Result();
    // A copy of the picture group k frames (k == Count(): a group put on
    // top), made as the stack hands it over: the photo as it is below the
    // lowest visible group, else the output below in the screen layout, as
    // Apply Frame passes a framed picture on. Renders what it needs first.
    std::unique_ptr<Bitmap> InputCopy(std::size_t k);
    // What turns group k's lengths into pixels: the lowest visible group's
    // scale, or, when no visible group lies below k, the scale of photo,
    // the picture group k's commands left.
    LengthScale GroupScale(std::size_t k, const Bitmap& photo);
    // The print size or resolution lengths refer to; every group paints
    // again when it changes.
    void SetPrintBasis(const std::optional<PrintSize>& printSize, const std::optional<double>& dpi);
    // The number of groups whose outputs are up to date.
    std::size_t ValidGroups() const { return valid_; }
    // The bytes of the pictures the cache holds.
    std::size_t CachedBytes() const;
    const Counters& Stats() const { return counters_; }
    void ResetCounters() { counters_ = {}; }

private:
    void Check(std::size_t k) const;
    // Forgets the outputs of group k and above.
    void InvalidateFrom(std::size_t k);
    // The picture group k frames: the output of the nearest visible group
    // below it, or the photo.
    const Bitmap& InputOf(std::size_t k) const;
    void RenderGroup(std::size_t k);
    // Keeps painted as group k's output where it may (see Append).
    void TakePainted(std::size_t k, std::unique_ptr<Bitmap>& painted);
    // Whether no group below k is visible.
    bool LowestVisible(std::size_t k) const;
    std::unique_ptr<Bitmap> CopyOfInput(std::size_t k, bool lowest) const;

    std::unique_ptr<Bitmap> photo_;
    State state_;
    // Per group its output; null for a hidden group (it passes its input on).
    std::vector<std::unique_ptr<Bitmap>> outputs_;
    // Groups 0..valid_-1 have up-to-date outputs.
    std::size_t valid_ = 0;
    // Lengths' scale, fixed by the lowest visible group; valid with it.
    LengthScale scale_;
    Counters counters_;
};

} // namespace quillon
