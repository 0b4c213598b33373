// The Picture Capture dialog against the simulator, and its bitmap files.
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "SetupTestSupport.h"
#include "base/BitmapFile.h"
#include "desktop/setup/CDlgPictureCap.h"
#include "desktop/setup/CapturePictureView.h"
#include "operations/ScreenCapture.h"

namespace qm {
namespace {

using test::Child;
using test::Click;

class PictureCapture : public ::testing::Test {
protected:
    void SetUp() override {
        CDlgPictureCap::CurrentPicture() = QImage();
        dialog.SetCaptureFile(QString::fromStdString(ini.dir.File("temp.bmp")));
        dialog.resize(1000, 800);
        dialog.show();
    }
    bool Enabled(const char* name) { return Child<QWidget>(dialog, name)->isEnabled(); }
    CapturePictureView& View() { return *Child<CapturePictureView>(dialog, "picture"); }
    // Presses Upload; how long it took.
    qint64 Upload() {
        QElapsedTimer clock;
        clock.start();
        Click(dialog, "upload");
        return clock.elapsed();
    }

    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    test::SetupSettings ini;
    CDlgPictureCap dialog;
};

TEST_F(PictureCapture, CaptureAtTheFirstTryWritesTheWholeFileAndShowsIt) {
    test::SimProcess sim({"--baud", "4000000"});
    ini.Connect(sim.Path(), "4000000");
    dialog.SetRetryPause(5000);
    auto* progress = Child<QProgressBar>(dialog, "progress");
    int highest = 0;
    QObject::connect(progress, &QProgressBar::valueChanged, [&](int v) { highest = v; });
    EXPECT_LT(Upload(), 5000) << "no retry pause";
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(highest, 60) << "one step per block";
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(Enabled("save"));

    EXPECT_EQ(test::ReadFile(ini.dir.File("temp.bmp")).size(), kCaptureFileSize);
    const QImage& shown = View().Picture();
    ASSERT_EQ(shown.size(), QSize(320, 240));
    // The file's first pixel bytes are the bottom row's first pixel, blue green red.
    EXPECT_EQ(QColor(shown.pixel(0, 239)), QColor(0x08, 0x10, 0x28));
    EXPECT_EQ(View().Zoom(), std::min(View().width() / 320, View().height() / 240));
    EXPECT_GE(View().Zoom(), 2);
    EXPECT_LE(std::abs(View().PictureRect().center().x() - View().rect().center().x()), 1);
}

TEST_F(PictureCapture, OpenedPictureSavedPaddedAtItsOwnSizeAndAgain) {
    std::vector<std::uint8_t> rows(BitmapRowSize(100) * 50);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<std::uint8_t>(i * 7);
    const auto bytes = BitmapFileBytes(100, 50, rows);
    const std::string original(bytes.begin(), bytes.end());
    test::WriteFile(ini.dir.File("in.bmp"), original);

    prompt.openNames << QString::fromStdString(ini.dir.File("in.bmp"));
    prompt.saveNames << QString::fromStdString(ini.dir.File("a.bmp"))
                     << QString::fromStdString(ini.dir.File("b.bmp"));
    Click(dialog, "open");
    Click(dialog, "save");
    Click(dialog, "save"); // the picture stays available after a save
    EXPECT_EQ(test::ReadFile(ini.dir.File("a.bmp")).size(), 15054u);
    EXPECT_EQ(test::ReadFile(ini.dir.File("a.bmp")), original);
    EXPECT_EQ(test::ReadFile(ini.dir.File("b.bmp")), original);
    EXPECT_EQ(prompt.filters, QStringList(3, "*.bmp|*.bmp||"));
}

TEST_F(PictureCapture, CancelledOpenReenablesSave) {
    prompt.openNames << "";
    Click(dialog, "open");
    EXPECT_TRUE(Enabled("save"));
    Click(dialog, "save");
    EXPECT_EQ(prompt.filters.size(), 1) << "no picture: no save dialog, a beep";
    EXPECT_EQ(prompt.beeps, 1);
}

TEST_F(PictureCapture, NoConnectionAfterTheRetries) {
    ini.Connect(ini.dir.File("none"));
    dialog.SetRetryPause(1);
    Upload();
    ASSERT_EQ(prompt.Texts(), QStringList{"Failed ! Please check the connection !"});
    EXPECT_FALSE(Enabled("save"));
    EXPECT_TRUE(Enabled("upload"));
}

TEST_F(PictureCapture, TheConnectWaitCanBeCancelled) {
    ini.Connect(ini.dir.File("none"));
    dialog.SetRetryPause(60000);
    QTimer::singleShot(200, [&] { Click(dialog, "cancel"); });
    EXPECT_LT(Upload(), 10000);
    EXPECT_TRUE(prompt.messages.empty()) << "the user's own choice needs no message";
    EXPECT_FALSE(Enabled("save"));
}

} // namespace
} // namespace qm
