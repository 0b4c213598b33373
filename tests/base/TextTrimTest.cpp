#include <gtest/gtest.h>

#include "base/BaudRate.h"
#include "base/TextTrim.h"

namespace qm {
namespace {

TEST(TextTrim, WhiteSpaceByDefaultLineBlanksOnRequest) {
    EXPECT_EQ(Trim(" \t\f7100T2\v\r\n"), "7100T2");
    EXPECT_EQ(Trim("  \n "), "");
    EXPECT_EQ(Trim("a b"), "a b");
    // Settings lines keep a form feed or vertical tab as part of their value.
    EXPECT_EQ(Trim("\f Port = 3 \v\r\n", kLineBlanks), "\f Port = 3 \v");
    static_assert(Trim("  x  ") == "x");
}

TEST(BaudRate, OnlyPositiveValuesThatFitAreRates) {
    EXPECT_EQ(BaudRateOf(115200), 115200u);
    EXPECT_EQ(BaudRateOf(0), 0u);
    EXPECT_EQ(BaudRateOf(-9600), 0u);
    if constexpr (sizeof(long) > 4) { // not on Windows
        EXPECT_EQ(BaudRateOf(0xFFFFFFFFL), 0xFFFFFFFFu);
        EXPECT_EQ(BaudRateOf(0x100000000L), 0u);
    }
}

} // namespace
} // namespace qm
