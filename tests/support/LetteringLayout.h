#pragma once
// A slot layout for the tests that compare lettered tiles pixel for pixel: angles 0, 37, 90,
// 180, 359 and others; sizes 6 to 72; every style; white and red text; positions at every
// edge, before the tile and past it; positions that are not numbers (slot 0's keeps the
// position the text had before, slot 6's the one the slot before left); a text running off
// the tile; a face no system has; slot 7 empty until a row fills it.

#include "text/PositionSlot.h"

namespace qrb::test {

PositionSlots letteringLayout();

} // namespace qrb::test
