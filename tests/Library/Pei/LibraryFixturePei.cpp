#include "LibraryFixture.h"

// The board's PEI core keeps its services pointer below its IDT from the start; the
// pre-memory library keeps no state of its own to reset.
LibraryTest::LibraryTest() = default;
LibraryTest::~LibraryTest() = default;
