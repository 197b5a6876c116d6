// The window arithmetic of the desktop program, as plain functions so that
// tests can check it without a window: the start-up bounds rule, the image
// window's sizes around its picture and the centring of dialogs.
#pragma once

#include <string>

namespace quillon {

// The sizes of the platform's window decoration that the image window is
// fitted with.
struct WindowMetrics {
    int captionHeight = 0;
    int borderX = 0; // window border plus dialog frame, horizontally
    int borderY = 0; // the same, vertically
};

struct WindowSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowSize&, const WindowSize&) = default;
};

// The main window's bounds as the configuration file keeps them.
struct DesktopBounds {
    int left = 0;
    int top = 0;
    int width = 640;
    int height = 480;
    friend bool operator==(const DesktopBounds&, const DesktopBounds&) = default;
};

// A missing configuration file reads as these, and exactly these start the
// main window maximised.
constexpr DesktopBounds kDefaultDesktopBounds{0, 0, 640, 480};
inline bool StartsMaximised(const DesktopBounds& b) {
    return b == kDefaultDesktopBounds;
}

// The image window's size for a picture of pictureWidth x pictureHeight
// inside a main window of mainWidth x mainHeight: the picture plus the
// decoration and 2 pixels, limited to the room in the main window (less the
// edit bar's height when it shows); a picture that is only too tall gets 20
// pixels more width for the vertical scroll bar.
WindowSize AdjustedWindowSize(const WindowMetrics& m, int pictureWidth, int pictureHeight,
                              int mainWidth, int mainHeight, bool editBarVisible,
                              int editBarHeight);

// The size of a new image window: the picture plus the decoration and 1
// pixel, limited to the room in the main window, with no scroll-bar allowance.
WindowSize FirstWindowSize(const WindowMetrics& m, int imageWidth, int imageHeight, int mainWidth,
                           int mainHeight);

// The top-left corner that centres a width x height window on the screen
// (each half truncated).
struct ScreenPoint {
    int left = 0;
    int top = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};
ScreenPoint CentredOnScreen(int screenWidth, int screenHeight, int width, int height);

// The text after the last '/' (or a Windows '\' or drive ':').
std::string FilePart(const std::string& name);

} // namespace quillon
