#include "framing/Framer.h"
