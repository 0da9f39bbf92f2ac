#include "sheet/Length.h"
#include "sheet/PageSize.h"
#include "sheet/SheetError.h"

#include <gtest/gtest.h>

namespace qrb {
namespace {

TEST(SheetText, LengthsInEveryUnit) {
    const std::pair<const char*, double> cases[] = {
        {"30", 30},          {"30mm", 30}, {" 30 MM ", 30}, {"2.5cm", 25},  {"1.5in", 38.1},
        {"12pt", 4.2333333}, {"+2", 2},    {"-1.5", -1.5},  {"0.1In", 2.54}};
    for (const auto& [text, mm] : cases) {
        EXPECT_NEAR(parseLength(text), mm, 1e-6) << text;
    }
    EXPECT_EQ(parseLengthPair("1cm, -2"), (PointMm{10, -2}));
}

TEST(SheetText, RejectsWhatIsNoLength) {
    for (const char* text :
         {"", "mm", "30km", "nan", "inf", "1e999", "3 0", "30mm5", "+-1", "0x10", "1,5"}) {
        EXPECT_THROW(parseLength(text), SheetError) << text;
    }
    for (const char* text : {"1", "1,2,3", ",1"}) {
        EXPECT_THROW(parseLengthPair(text), SheetError) << text;
    }
}

TEST(SheetText, PageSizesByNameAndMeasure) {
    EXPECT_EQ(parsePageSize("LeTTer"), PageSize::letter());
    EXPECT_EQ(parsePageSize("210x297").size, (SizeMm{210, 297}));
    // A unit written once after the second number applies to both.
    const SizeMm inches = parsePageSize("8.5x11in").size;
    EXPECT_NEAR(inches.width, 215.9, 1e-9);
    EXPECT_NEAR(inches.height, 279.4, 1e-9);
    EXPECT_EQ(parsePageSize("200mmx12in").size.width, 200);
    for (const char* text : {"b5", "x297", "210x", "9x297", "6000x200", "210x297x3"}) {
        EXPECT_THROW(parsePageSize(text), SheetError) << text;
    }
}

} // namespace
} // namespace qrb
