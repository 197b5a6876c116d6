// The edit bar's tooltips that follow the style's captions: what each
// label, up-down arrow, colour swatch, decoration swatch and check box does
// (the edit boxes' ranges and the unit buttons are the bar's own, as they
// change with the units).
#pragma once

#include "frames/StyleCatalog.h"

class QWidget;

namespace quillon {

// Sets them on the edit bar's children, found by their object names.
void ShowFieldTooltips(QWidget& bar, const StyleInfo& info);

} // namespace quillon
