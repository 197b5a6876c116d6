// Basic value types shared by the whole engine: colours, points, rectangles,
// mouse events, and the picture-size limit.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A colour value: red in the low byte, then green, then blue; high byte 0.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clOlive = 0x008080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;

constexpr std::uint8_t GetRValue(TColor c) {
    return c & 0xFF;
}
constexpr std::uint8_t GetGValue(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(TColor c) {
    return (c >> 16) & 0xFF;
}
constexpr TColor RGB(int r, int g, int b) {
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A rectangle covers x = Left .. Right - 1 and y = Top .. Bottom - 1.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Which modifier keys and buttons hold at a mouse event (bit set).
enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

// The last mouse-button event and pointer position over an image control.
struct TMouseState {
    bool RightReleased = false;
    bool LeftReleased = false;
    bool RightPressed = false;
    bool LeftPressed = false;
    int ButtonX = 0;
    int ButtonY = 0;
    int PointerX = 0;
    int PointerY = 0;
};

// Error raised for pictures that cannot be read, written or held; its message
// is the text the user sees.
class EPictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest picture the program holds: 65535 pixels on a side and 2^28
// pixels in all (1 GiB at 32 bits per pixel).
constexpr std::int64_t kMaxPictureSide = 65535;
constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 28;

// Throws EPictureError when a width × height picture is negative or over the
// limit; called before any pixel memory is allocated.
void CheckPictureSize(std::int64_t width, std::int64_t height);
