#include "app/WindowLayout.h"

#include <algorithm>

namespace quillon {

WindowSize AdjustedWindowSize(const WindowMetrics& m, int pictureWidth, int pictureHeight,
                              int mainWidth, int mainHeight, bool editBarVisible,
                              int editBarHeight) {
    int w = pictureWidth + 2 * m.borderX + 2;
    int h = pictureHeight + m.captionHeight + 2 * m.borderY + 2;
    const int maxW = mainWidth - (2 * m.borderX + 10);
    int maxH = mainHeight - (2 * m.borderY + m.captionHeight + 30);
    if (editBarVisible) maxH -= editBarHeight;
    if (w < maxW && h > maxH) w += 20;
    return {std::min(w, maxW), std::min(h, maxH)};
}

WindowSize FirstWindowSize(const WindowMetrics& m, int imageWidth, int imageHeight, int mainWidth,
                           int mainHeight) {
    const int w = imageWidth + 2 * m.borderX + 1;
    const int h = imageHeight + m.captionHeight + 2 * m.borderY + 1;
    const int maxW = mainWidth - (2 * m.borderX + 10);
    const int maxH = mainHeight - 2 * m.borderY - m.captionHeight - 30;
    return {std::min(w, maxW), std::min(h, maxH)};
}

ScreenPoint CentredOnScreen(int screenWidth, int screenHeight, int width, int height) {
    return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

std::string FilePart(const std::string& name) {
    const auto cut = name.find_last_of("/\\:");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

} // namespace quillon
