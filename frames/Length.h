// Lengths of frame settings with their units: pixels, a percentage of the
// photo's shorter side, or a physical length that a print resolution turns
// into pixels. Pixels are the length times the resolution, rounded half away
// from zero.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

enum class LengthUnit { Pixels, Percent, Millimetres, Centimetres, Inches };

struct Length {
    double value = 0;
    LengthUnit unit = LengthUnit::Pixels;

    bool IsPhysical() const {
        return unit == LengthUnit::Millimetres || unit == LengthUnit::Centimetres ||
               unit == LengthUnit::Inches;
    }
    friend bool operator==(const Length&, const Length&) = default;
};

// "12" (pixels, whole), "5%", "2.5mm", "1cm", "0.5in"; none when the text is
// not a length, or is negative.
std::optional<Length> ParseLength(std::string_view text);
// The unit's suffix as ParseLength reads it ("" for pixels).
const char* UnitSuffix(LengthUnit unit);
// The length as ParseLength reads it back.
std::string FormatLength(const Length& length);

// The size of a physical length in inches (0 for pixels and percentages).
double InInches(double value, LengthUnit unit);

// The print resolution, in pixels per inch, at which a w x h photo fits
// inside a box of boxWidth x boxHeight in unit: the larger of the two
// ratios, so that neither side of the photo overhangs the box.
double ResolutionForPrintSize(int w, int h, double boxWidth, double boxHeight, LengthUnit unit);

// The length in pixels for a photo whose shorter side is shorterSide
// pixels, printed at pixelsPerInch (needed for physical lengths only; none
// for a physical length throws std::invalid_argument).
int LengthInPixels(const Length& length, int shorterSide, std::optional<double> pixelsPerInch);

} // namespace quillon
