// The resize dialog's linked values as plain functions: the four edits'
// texts and what a change of one does to the others. Numbers are read as
// single-precision floats and every conversion back to a whole number
// truncates toward zero, so the dialog shows exactly what these give.
// An empty edit changes nothing; a text that is not a number throws
// PictureError with the conversion message and leaves the edits as they were.
#pragma once

#include <string>

namespace quillon {

struct ResizeEdits {
    std::string WidthPerc = "100";
    std::string HeightPerc = "100";
    std::string PixWidth;
    std::string PixHeight;
};

// The edits as the dialog shows them for a picture of width x height.
ResizeEdits InitialResizeEdits(int width, int height);

// Parses a decimal number as a float; throws "'<text>' is not a valid
// floating point value".
float ParseFloatText(const std::string& text);
// Parses a decimal integer; throws "'<text>' is not a valid integer value".
int ParseIntText(const std::string& text);

// The change handlers. ow and oh are the starting width and height.
void WidthPercChanged(ResizeEdits& e, bool aspect, float ow, float oh);
void HeightPercChanged(ResizeEdits& e, bool aspect, float ow, float oh);
void PixWidthChanged(ResizeEdits& e, bool aspect, float ow, float oh);
void PixHeightChanged(ResizeEdits& e, bool aspect, float ow, float oh);

// Refuses a new size of 0 or below before anything is changed.
void CheckResizeSize(int width, int height);

} // namespace quillon
