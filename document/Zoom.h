// The zoom steps of the View menu and the scaled lengths they give.
#pragma once

namespace quillon {

// The values are the zoom modes the program has always stored.
enum class Zoom { Normal = 0, Percent75 = 2, Percent50 = 3, Percent25 = 4, Percent10 = 5 };

// 1.0, 0.75, 0.5, 0.25 or 0.1 (single precision, as the lengths use it).
float ZoomScale(Zoom zoom);
// A full-size length as shown at scale: the product of length and the stored
// single-precision scale, formed in double precision and truncated, so that
// 1000 at 0.1 gives 100.
int ScaledLength(int length, float scale);
// A shown length back at full size, truncated (10 at 0.1 gives 99).
int UnscaledLength(int length, float scale);

} // namespace quillon
