#include "framing/Canvas.h"
