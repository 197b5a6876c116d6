// Basic value types shared by the whole engine: colours, points, rectangles,
// and the picture-size limit.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace quillon {

// A colour value: red in the low byte, then green, then blue; high byte 0.
using Color = std::uint32_t;

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kGray = 0x808080;
constexpr Color kSilver = 0xC0C0C0;
constexpr Color kOlive = 0x008080;
constexpr Color kRed = 0x0000FF;
constexpr Color kLime = 0x00FF00;
constexpr Color kBlue = 0xFF0000;

constexpr std::uint8_t GetRValue(Color c) {
    return c & 0xFF;
}
constexpr std::uint8_t GetGValue(Color c) {
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t GetBValue(Color c) {
    return (c >> 16) & 0xFF;
}
constexpr Color RGB(int r, int g, int b) {
    return Color(r & 0xFF) | (Color(g & 0xFF) << 8) | (Color(b & 0xFF) << 16);
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle covers x = Left .. Right - 1 and y = Top .. Bottom - 1.
struct Rect {
    constexpr Rect() = default;
    constexpr Rect(int left, int top, int right, int bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// What went wrong with a picture, for callers that act on the cause rather
// than show the message: a file that ends too soon, one that breaks its
// format's rules, a valid file of a variant the program does not read, a
// picture over the size or memory limits, or the file system (opening,
// writing, a folder where a file was expected).
enum class PictureErrorKind { Truncated, Malformed, Unsupported, TooLarge, Io };

// Error raised for pictures that cannot be read, written or held; its message
// is the text the user sees. Errors outside the readers (writing, the file
// system, the shell's own checks) default to PictureErrorKind::Io.
class PictureError : public std::runtime_error {
public:
    explicit PictureError(const std::string& message, PictureErrorKind kind = PictureErrorKind::Io)
        : std::runtime_error(message), kind_(kind) {}
    explicit PictureError(const char* message, PictureErrorKind kind = PictureErrorKind::Io)
        : std::runtime_error(message), kind_(kind) {}
    PictureErrorKind Kind() const noexcept { return kind_; }

private:
    PictureErrorKind kind_;
};

// The largest picture the program holds: 65535 pixels on a side and 2^28
// pixels in all (1 GiB at 32 bits per pixel).
constexpr std::int64_t kMaxPictureSide = 65535;
constexpr std::int64_t kMaxPicturePixels = std::int64_t(1) << 28;

// Throws PictureError (PictureErrorKind::TooLarge) when a width × height
// picture is negative or over the limit; called before any pixel memory is
// allocated. The second form takes a tighter limit than the program's own.
void CheckPictureSize(std::int64_t width, std::int64_t height);
void CheckPictureSize(std::int64_t width, std::int64_t height, std::int64_t maxSide,
                      std::int64_t maxPixels);

} // namespace quillon
