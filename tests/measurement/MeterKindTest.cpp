#include <gtest/gtest.h>

#include "measurement/FileDataExt.h"
#include "measurement/MeasurementFile.h"
#include "measurement/MeterKind.h"

namespace qm {
namespace {

// The table against the layout the file readers assume: the plan of 170 entries after the
// 32-byte header, then the measurement area, which is the same size for every kind.
TEST(MeterKindTable, SizesAgreeWithTheFileLayout) {
    const std::size_t area = KindFileSize(0) - static_cast<std::size_t>(SectionBase(0));
    for (const MeterKindTraits& t : kMeterKinds) {
        const int kind = ToInt(t.kind);
        EXPECT_EQ(FindKind(kind), &t);
        EXPECT_EQ(static_cast<std::size_t>(SectionBase(kind)), 32 + 170 * t.entrySize);
        EXPECT_EQ(t.fileSize, static_cast<std::size_t>(SectionBase(kind)) + area) << kind;
        EXPECT_LE(t.fileSize + 1, kElementSize);
    }
    EXPECT_EQ(FindKind(-1), nullptr);
    EXPECT_EQ(FindKind(3), nullptr);
    EXPECT_EQ(KindFileSize(3), 0u);
    EXPECT_EQ(KindEntrySize(-1), 0u);
    // Records of no known kind keep the extended layout.
    EXPECT_EQ(LayoutEntrySize(7), 28u);
    EXPECT_EQ(LayoutEntrySize(0), 20u);
    EXPECT_TRUE(HasSignedLevels(2));
    EXPECT_FALSE(HasSignedLevels(1));
    EXPECT_FALSE(HasSignedLevels(200));
}

} // namespace
} // namespace qm
