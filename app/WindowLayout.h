// The window arithmetic of the desktop program, as plain functions so that
// tests can check it without a window: the start-up bounds rule, the image
// window's sizes around its picture and the centring of dialogs.
#pragma once

#include <string>

namespace quillon {

// The sizes of the platform's window decoration that the image window is
// fitted with.
struct TWindowMetrics {
    int CaptionHeight = 0;
    int BorderX = 0; // window border plus dialog frame, horizontally
    int BorderY = 0; // the same, vertically
};

struct TSizeWH {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSizeWH&, const TSizeWH&) = default;
};

// The main window's bounds as the configuration file keeps them.
struct TDesktopBounds {
    int Left = 0;
    int Top = 0;
    int Width = 640;
    int Height = 480;
    friend bool operator==(const TDesktopBounds&, const TDesktopBounds&) = default;
};

// A missing configuration file reads as these, and exactly these start the
// main window maximised.
constexpr TDesktopBounds kDefaultDesktopBounds{0, 0, 640, 480};
inline bool StartsMaximised(const TDesktopBounds& b) {
    return b == kDefaultDesktopBounds;
}

// The image window's size for a picture of pictureWidth x pictureHeight
// inside a main window of mainWidth x mainHeight: the picture plus the
// decoration and 2 pixels, limited to the room in the main window (less the
// edit bar's height when it shows); a picture that is only too tall gets 20
// pixels more width for the vertical scroll bar.
TSizeWH AdjustedWindowSize(const TWindowMetrics& m, int pictureWidth, int pictureHeight,
                           int mainWidth, int mainHeight, bool editBarVisible, int editBarHeight);

// The size of a new image window: the picture plus the decoration and 1
// pixel, limited to the room in the main window, with no scroll-bar allowance.
TSizeWH FirstWindowSize(const TWindowMetrics& m, int imageWidth, int imageHeight, int mainWidth,
                        int mainHeight);

// The top-left corner that centres a width x height window on the screen
// (each half truncated).
struct TLeftTop {
    int Left = 0;
    int Top = 0;
    friend bool operator==(const TLeftTop&, const TLeftTop&) = default;
};
TLeftTop CentredOnScreen(int screenWidth, int screenHeight, int width, int height);

// The text after the last '/' (or a Windows '\' or drive ':').
std::string FilePart(const std::string& name);

} // namespace quillon
