// The zoom of the picture's view as plain arithmetic: the steps Zoom In and
// Zoom Out go through, the scale that fits a picture into the room it has,
// the shown size of a picture at a scale, and the zoom as the captions and
// the status bar write it. A scale counts device pixels: at 1.0 one picture
// pixel is one pixel of the screen, whatever the screen's pixel ratio.
#pragma once

#include <string>

namespace quillon {

// The smallest and largest fixed steps.
constexpr double kMinZoomStep = 0.1;
constexpr double kMaxZoomStep = 4.0;

// The next fixed step above scale (Zoom In), or the largest step.
double ZoomInStep(double scale);
// The next fixed step below scale (Zoom Out), or the smallest step.
double ZoomOutStep(double scale);

// The scale at which a width x height picture fits inside roomWidth x
// roomHeight without scroll bars: never above 1 (a small picture is not
// blown up), and 1 for an empty picture or no room at all.
double FitScale(int width, int height, int roomWidth, int roomHeight);

// A picture length at scale, in device pixels: truncated (200 at 0.5 is
// 100, 1000 at 0.1 is 100), and at least 1 pixel of a picture that has any.
int ShownLength(int length, double scale);

// "25%", "200%", "23%" for a fitted 0.2345; one decimal below 10 %
// ("5.5%") so that tiny scales do not all read as the same.
std::string ZoomPercent(double scale);

// The image window's caption after the file name. The five steps the
// program always had keep their own spacing (" - 75%  "); any other scale
// reads " - 200%", " - 23%".
std::string ZoomCaptionSuffix(double scale);

} // namespace quillon
