// Placeholder until the photo document is written.
#include "framing/Butbar.h"

TButtonBar::TButtonBar(bool framesFromClipboard) : FramesFromClipboard(framesFromClipboard) {}
TButtonBar::~TButtonBar() = default;
