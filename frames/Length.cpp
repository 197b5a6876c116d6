#include "frames/Length.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace quillon {

namespace {

struct Suffix {
    const char* text;
    LengthUnit unit;
};
constexpr Suffix kSuffixes[] = {{"%", LengthUnit::Percent},
                                {"mm", LengthUnit::Millimetres},
                                {"cm", LengthUnit::Centimetres},
                                {"in", LengthUnit::Inches}};

} // namespace

std::optional<Length> ParseLength(std::string_view text) {
    Length length;
    for (const Suffix& s : kSuffixes) {
        const std::string_view suffix = s.text;
        if (text.size() > suffix.size() && text.substr(text.size() - suffix.size()) == suffix) {
            length.unit = s.unit;
            text.remove_suffix(suffix.size());
            break;
        }
    }
    if (text.empty()) return std::nullopt;
    const char* end = text.data() + text.size();
    if (length.unit == LengthUnit::Pixels) {
        // Pixels are whole.
        int v = 0;
        const auto [p, ec] = std::from_chars(text.data(), end, v);
        if (ec != std::errc() || p != end || v < 0) return std::nullopt;
        length.value = v;
        return length;
    }
    double v = 0;
    const auto [p, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || p != end || !(v >= 0) || !std::isfinite(v)) return std::nullopt;
    length.value = v;
    return length;
}

const char* UnitSuffix(LengthUnit unit) {
    for (const Suffix& s : kSuffixes)
        if (s.unit == unit) return s.text;
    return "";
}

std::string FormatLength(const Length& length) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g%s", length.value, UnitSuffix(length.unit));
    return text;
}

double InInches(double value, LengthUnit unit) {
    switch (unit) {
    case LengthUnit::Millimetres:
        return value / 25.4;
    case LengthUnit::Centimetres:
        return value / 2.54;
    case LengthUnit::Inches:
        return value;
    default:
        return 0;
    }
}

double ResolutionForPrintSize(int w, int h, double boxWidth, double boxHeight, LengthUnit unit) {
    const double bw = InInches(boxWidth, unit), bh = InInches(boxHeight, unit);
    if (!(bw > 0) || !(bh > 0)) throw std::invalid_argument("a print size must not be empty");
    // The photo fits inside the box when both of its sides do: the larger of
    // the two ratios.
    return std::max(double(w) / bw, double(h) / bh);
}

int LengthInPixels(const Length& length, int shorterSide, std::optional<double> pixelsPerInch) {
    double pixels = length.value;
    if (length.unit == LengthUnit::Percent) {
        pixels = length.value / 100.0 * double(shorterSide);
    } else if (length.IsPhysical()) {
        if (!pixelsPerInch)
            throw std::invalid_argument("a physical length needs a print size or a resolution");
        pixels = InInches(length.value, length.unit) * *pixelsPerInch;
    }
    // std::round rounds halves away from zero.
    const double rounded = std::round(pixels);
    return rounded > 2e9 ? 2000000000 : int(rounded);
}

} // namespace quillon
