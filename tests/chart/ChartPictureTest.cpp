#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "chart/ChartPicture.h"
#include "support/TestSupport.h"

namespace qm {
namespace {

std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

TEST(ChartPicture, WritesTheEncodedFrameWholeOrNotAtAll) {
    QImage frame(40, 30, QImage::Format_RGB32);
    frame.fill(Qt::darkCyan);
    test::TempDir dir;
    ASSERT_TRUE(SaveChartPicture(frame, dir.File("a.PNG")));
    ASSERT_TRUE(SaveChartPicture(frame, dir.File("b.Bmp")));
    EXPECT_EQ(test::ReadFile(dir.File("a.PNG")), Encoded(frame, "PNG"));
    EXPECT_EQ(test::ReadFile(dir.File("b.Bmp")), Encoded(frame, "BMP"));

    {
        test::FullDisk full;
        EXPECT_FALSE(SaveChartPicture(QImage(8, 8, QImage::Format_RGB32), dir.File("a.PNG")));
        EXPECT_EQ(errno, ENOSPC);
    }
    EXPECT_FALSE(SaveChartPicture(QImage(), dir.File("b.Bmp"))) << "no frame to encode";
    EXPECT_EQ(test::ReadFile(dir.File("a.PNG")), Encoded(frame, "PNG"));
    EXPECT_EQ(test::ReadFile(dir.File("b.Bmp")), Encoded(frame, "BMP"));
    EXPECT_EQ(test::FolderNames(dir.Path()), (std::vector<std::string>{"a.PNG", "b.Bmp"}));
}

} // namespace
} // namespace qm
