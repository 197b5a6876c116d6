#include "app/ViewZoom.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace quillon {

namespace {

constexpr std::array<double, 9> kSteps{0.1, 0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0};

// Scales within this ratio count as the same step, so that a fitted scale a
// hair below a step does not make Zoom In stop at that step's twin.
constexpr double kSameStep = 1e-3;

} // namespace

double ZoomInStep(double scale) {
    for (double step : kSteps)
        if (step > scale * (1 + kSameStep)) return step;
    return kSteps.back();
}

double ZoomOutStep(double scale) {
    for (auto it = kSteps.rbegin(); it != kSteps.rend(); ++it)
        if (*it < scale * (1 - kSameStep)) return *it;
    return kSteps.front();
}

double FitScale(int width, int height, int roomWidth, int roomHeight) {
    if (width <= 0 || height <= 0 || roomWidth <= 0 || roomHeight <= 0) return 1.0;
    const double scale = std::min(double(roomWidth) / width, double(roomHeight) / height);
    return std::min(scale, 1.0);
}

int ShownLength(int length, double scale) {
    if (length <= 0) return 0;
    // The small allowance keeps products such as 1000 x 0.1 (a hair under
    // 100 in binary) at the whole number they stand for.
    const double shown = std::floor(double(length) * scale + 1e-7);
    return std::max(1, int(std::min(shown, 1e9)));
}

std::string ZoomPercent(double scale) {
    const double percent = scale * 100;
    char text[32];
    if (percent < 9.95 && std::abs(percent - std::round(percent)) > 0.05)
        std::snprintf(text, sizeof text, "%.1f%%", percent);
    else
        std::snprintf(text, sizeof text, "%.0f%%", percent);
    return text;
}

std::string ZoomCaptionSuffix(double scale) {
    const std::pair<double, const char*> kept[] = {{1.0, " - 100%"},
                                                   {0.75, " - 75%  "},
                                                   {0.5, " - 50%  "},
                                                   {0.25, " - 25% "},
                                                   {0.1, " - 10%  "}};
    for (const auto& [step, suffix] : kept)
        if (scale == step) return suffix;
    return " - " + ZoomPercent(scale);
}

} // namespace quillon
