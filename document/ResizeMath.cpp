#include "document/ResizeMath.h"

#include "canvas/Types.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

namespace quillon {

namespace {

// Truncates toward zero; a value no edit could hold (too large, or not a
// number after a division by a zero size) is refused instead of converted.
std::string IntText(float v) {
    if (!(v > -2147483648.0f && v < 2147483648.0f))
        throw PictureError("The number is too large for a picture size.");
    return std::to_string(static_cast<long long>(v));
}

bool Blank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

} // namespace

ResizeEdits InitialResizeEdits(int width, int height) {
    ResizeEdits e;
    e.PixWidth = std::to_string(width);
    e.PixHeight = std::to_string(height);
    return e;
}

float ParseFloatText(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const float v = std::strtof(begin, &end);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (Blank(text) || end == begin || *end != '\0' || errno == ERANGE ||
        text.find_first_of("xXnNiI") != std::string::npos)
        throw PictureError("'" + text + "' is not a valid floating point value");
    return v;
}

int ParseIntText(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(begin, &end, 10);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (Blank(text) || end == begin || *end != '\0' || errno == ERANGE || v < -2147483647L - 1 ||
        v > 2147483647L)
        throw PictureError("'" + text + "' is not a valid integer value");
    return int(v);
}

void WidthPercChanged(ResizeEdits& e, bool aspect, float ow, float oh) {
    if (e.WidthPerc.empty()) return;
    const float p = ParseFloatText(e.WidthPerc);
    if (aspect) {
        e.HeightPerc = e.WidthPerc;
        e.PixHeight = IntText(0.01f * p * oh);
    }
    e.PixWidth = IntText(0.01f * p * ow);
}

void HeightPercChanged(ResizeEdits& e, bool aspect, float ow, float oh) {
    if (e.HeightPerc.empty()) return;
    const float p = ParseFloatText(e.HeightPerc);
    if (aspect) {
        e.WidthPerc = e.HeightPerc;
        e.PixWidth = IntText(0.01f * p * ow);
    }
    e.PixHeight = IntText(0.01f * p * oh);
}

void PixWidthChanged(ResizeEdits& e, bool aspect, float ow, float oh) {
    if (e.PixWidth.empty()) return;
    const float p = ParseFloatText(e.PixWidth) / ow * 100.0f;
    if (aspect) {
        e.PixHeight = IntText(oh * p * 0.01f);
        e.HeightPerc = IntText(p);
    }
    e.WidthPerc = IntText(p);
}

void PixHeightChanged(ResizeEdits& e, bool aspect, float ow, float oh) {
    if (e.PixHeight.empty()) return;
    const float p = ParseFloatText(e.PixHeight) / oh * 100.0f;
    if (aspect) {
        e.PixWidth = IntText(ow * p * 0.01f);
        e.WidthPerc = IntText(p);
    }
    e.HeightPerc = IntText(p);
}

void CheckResizeSize(int width, int height) {
    if (width <= 0 || height <= 0)
        throw PictureError("The new size " + std::to_string(width) + " x " +
                           std::to_string(height) +
                           " is not possible: width and height must be at least 1 pixel.");
}

} // namespace quillon
