#pragma once

// Locations the tests need at run time, fixed by the build.
#define KKT_SOURCE_DIR_HINT "tests"
