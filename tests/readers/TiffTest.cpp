#include "tests/readers/FixtureBuilder.h"
