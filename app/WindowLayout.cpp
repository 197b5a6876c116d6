#include "app/Layout.h"

#include <algorithm>

namespace quillon {

TSizeWH AdjustedWindowSize(const TWindowMetrics& m, int pictureWidth, int pictureHeight,
                           int mainWidth, int mainHeight, bool editBarVisible, int editBarHeight) {
    int w = pictureWidth + 2 * m.BorderX + 2;
    int h = pictureHeight + m.CaptionHeight + 2 * m.BorderY + 2;
    const int maxW = mainWidth - (2 * m.BorderX + 10);
    int maxH = mainHeight - (2 * m.BorderY + m.CaptionHeight + 30);
    if (editBarVisible) maxH -= editBarHeight;
    if (w < maxW && h > maxH) w += 20;
    return {std::min(w, maxW), std::min(h, maxH)};
}

TSizeWH FirstWindowSize(const TWindowMetrics& m, int imageWidth, int imageHeight, int mainWidth,
                        int mainHeight) {
    const int w = imageWidth + 2 * m.BorderX + 1;
    const int h = imageHeight + m.CaptionHeight + 2 * m.BorderY + 1;
    const int maxW = mainWidth - (2 * m.BorderX + 10);
    const int maxH = mainHeight - 2 * m.BorderY - m.CaptionHeight - 30;
    return {std::min(w, maxW), std::min(h, maxH)};
}

TLeftTop CentredOnScreen(int screenWidth, int screenHeight, int width, int height) {
    return {screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

std::string FilePart(const std::string& name) {
    const auto cut = name.find_last_of("/\\:");
    return cut == std::string::npos ? name : name.substr(cut + 1);
}

} // namespace quillon
