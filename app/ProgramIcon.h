// The program's icon, drawn at run time (the same design as the installed
// quillon.svg): a gold frame round a small landscape.
#pragma once

#include <QIcon>

namespace quillon {

QIcon ProgramIcon();

} // namespace quillon
