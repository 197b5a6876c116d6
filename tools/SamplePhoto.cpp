// Placeholder until the sample photo is drawn.
#include "tools/MakeData.h"

void WriteSamplePhoto(const std::string&) {}
