#include <gtest/gtest.h>

#include "channels/DecimalText.h"

namespace qm {
namespace {

TEST(DecimalText, LeadingNumberScaledExactly) {
    EXPECT_EQ(DecimalText("474.009").Scaled(2), 47400);
    EXPECT_EQ(DecimalText("  12.9abc").Scaled(0), 12);
    EXPECT_EQ(DecimalText("+5.").Scaled(3), 5000);
    EXPECT_EQ(DecimalText(".5").Scaled(2), 50);
    EXPECT_EQ(DecimalText("-1.239").Scaled(2), -123); // toward zero
    EXPECT_EQ(DecimalText("1e3").Scaled(0), 1);       // the number ends at the letter
    EXPECT_EQ(DecimalText("0008.03").Scaled(2), 803);
    EXPECT_EQ(DecimalText("123456789012345678901234").Scaled(2), 1'000'000'000'000'000);
    EXPECT_EQ(DecimalText("-99999999999999999999").Scaled(0), -1'000'000'000'000'000);
}

TEST(DecimalText, TextsWithoutANumber) {
    for (const char* text : {"", "   ", ".", "-", "+.", "abc", "-x5"}) {
        const DecimalText d(text);
        EXPECT_FALSE(d.HasNumber()) << text;
        EXPECT_EQ(d.Scaled(2), 0) << text;
    }
    EXPECT_TRUE(DecimalText("0").HasNumber());
}

TEST(DecimalText, DigitsBeyondTheScale) {
    EXPECT_TRUE(DecimalText("7.0005").HasMoreDigits(3));
    EXPECT_FALSE(DecimalText("7.000000").HasMoreDigits(3));
    EXPECT_FALSE(DecimalText("7").HasMoreDigits(3));
}

} // namespace
} // namespace qm
