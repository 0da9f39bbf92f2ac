#include "text/PositionSlot.h"

#include <gtest/gtest.h>

namespace qrb {
namespace {

// The cleared state's stored fields are checked through the file's exact bytes.
TEST(PositionSlots, StartAndClearedStates) {
    PositionSlots slots;
    EXPECT_EQ(slots[8].position, "40,40");
    EXPECT_EQ(slots[4].angle, "");
    slots[2].text = "x";
    slots[2].style.bold = true;
    slots[2].description = "d";
    slots.clear();
    EXPECT_TRUE(slots[2].isEmpty());
    EXPECT_EQ(slots[2].description, "");
    EXPECT_EQ(slots[2].style, defaultTextStyle());
    EXPECT_THROW(slots.at(9), std::out_of_range);
}

TEST(PositionSlots, DescriptionUsesShortestSizeAndThreeDigitAngle) {
    TextStyle style;
    EXPECT_EQ(PositionSlots::describe(style, "45"), "Font = Arial, Size = 8, Degrees = 045");
    style.size = 9.75f;
    style.face = "Courier New";
    EXPECT_EQ(PositionSlots::describe(style, "0"),
              "Font = Courier New, Size = 9.75, Degrees = 000");
    EXPECT_EQ(PositionSlots::describe(style, ""), "Font = Courier New, Size = 9.75, Degrees = ");
    EXPECT_EQ(formatAngle(-5), "-005");
    EXPECT_EQ(shortestDecimal(0.1f), "0.1");
}

} // namespace
} // namespace qrb
