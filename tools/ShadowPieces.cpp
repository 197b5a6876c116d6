// Placeholder until the shadow pieces are drawn.
#include "tools/MakeData.h"

void WriteShadowPieces(const std::string&) {}
