#include <gtest/gtest.h>

#include <QImage>

#include "chart/ChartPicture.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

TEST(ChartPicture, WritesTheEncodedFrameWholeOrNotAtAll) {
    QImage frame(40, 30, QImage::Format_RGB32);
    frame.fill(Qt::darkCyan);
    test::TempDir dir;
    const std::string png = dir.File("a.PNG"), bmp = dir.File("b.Bmp");
    ASSERT_TRUE(SaveChartPicture(frame, png));
    ASSERT_TRUE(SaveChartPicture(frame, bmp));
    const std::string saved = test::ReadFile(png);
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(saved), "PNG"), frame);
    EXPECT_EQ(test::ReadFile(bmp).substr(0, 2), "BM");
    {
        test::FullDisk full;
        EXPECT_FALSE(SaveChartPicture(QImage(8, 8, QImage::Format_RGB32), png));
    }
    EXPECT_EQ(test::ReadFile(png), saved);
    EXPECT_EQ(test::FolderNames(dir.Path()), (std::vector<std::string>{"a.PNG", "b.Bmp"}));
}

} // namespace
} // namespace qm
