#pragma once
// A slot layout for the tests that compare lettered tiles pixel for pixel: angles 0, 37, 90,
// 180, 359 and others; sizes 6 to 72; every style; white and red text; positions at every
// edge, before the tile and past it, with blanks and a sign as people type them; a text
// running off the tile; a face no system has; slot 7 empty until a row fills it.

#include "text/PositionSlot.h"

namespace qrb::test {

PositionSlots letteringLayout();

// Slots with text layouts: centred, right and bottom anchors at angles 0, 37, 90, 180 and
// 359, a fit width, outlines and shadows; slot 9 empty.
PositionSlots laidOutLettering();

} // namespace qrb::test
