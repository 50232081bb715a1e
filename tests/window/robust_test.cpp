// Bad files: what the hash command does with files it cannot read whole,
// files that change under it, huge and sparse files.
#include "tests/window/window_fixture.h"
