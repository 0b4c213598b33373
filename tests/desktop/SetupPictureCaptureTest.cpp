// The Picture Capture dialog against the simulator, and its bitmap files.
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "FakePrompt.h"
#include "SetupTestSupport.h"
#include "desktop/setup/CDlgPictureCap.h"
#include "desktop/setup/CapturePictureView.h"
#include "setup/BitmapFile.h"
#include "setup/ScreenCapture.h"

namespace qm {
namespace {

using test::Child;
using test::Click;
using test::SimProcess;

class PictureCapture : public ::testing::Test {
protected:
    void SetUp() override {
        CDlgPictureCap::CurrentPicture() = QImage();
        dialog.SetCaptureFile(QString::fromStdString(ini.dir.File("temp.bmp")));
        dialog.resize(1000, 800);
        dialog.show();
    }
    bool SaveEnabled() { return Child<QWidget>(dialog, "save")->isEnabled(); }
    CapturePictureView& View() { return *Child<CapturePictureView>(dialog, "picture"); }

    test::FakePrompt prompt;
    ScopedPrompt scope{prompt};
    test::SetupSettings ini;
    CDlgPictureCap dialog;
};

TEST_F(PictureCapture, CaptureAtTheFirstTryWritesTheWholeFileAndShowsIt) {
    SimProcess sim({"--baud", "4000000"});
    ini.Connect(sim.Path(), "4000000");
    dialog.SetRetryPause(5000);
    auto* progress = Child<QProgressBar>(dialog, "progress");
    int maxShown = 0;
    QObject::connect(progress, &QProgressBar::valueChanged,
                     [&](int v) { maxShown = std::max(maxShown, v); });
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(SaveEnabled());

    QElapsedTimer clock;
    clock.start();
    Click(dialog, "upload");
    EXPECT_LT(clock.elapsed(), 5000) << "no retry pause";
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(maxShown, 60) << "one step per block";
    EXPECT_FALSE(progress->isVisible());
    EXPECT_TRUE(SaveEnabled());

    const std::string file = test::ReadFile(ini.dir.File("temp.bmp"));
    EXPECT_EQ(file.size(), kCaptureFileSize);
    const QImage& shown = View().Picture();
    ASSERT_EQ(shown.size(), QSize(320, 240));
    // The first bytes are the bottom row's first pixel, blue green red.
    EXPECT_EQ(QColor(shown.pixel(0, 239)), QColor(0x08, 0x10, 0x28));
    EXPECT_EQ(View().Zoom(), std::min(View().width() / 320, View().height() / 240));
    EXPECT_GE(View().Zoom(), 2);
    const QRect at = View().PictureRect();
    EXPECT_EQ(at.size(), QSize(320, 240) * View().Zoom());
    EXPECT_LE(std::abs(at.center().x() - View().rect().center().x()), 1) << "centred";
}

TEST_F(PictureCapture, OpenedPictureSavedPaddedAtItsOwnSizeAndAgain) {
    std::vector<std::uint8_t> rows(BitmapRowSize(100) * 50);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<std::uint8_t>(i * 7);
    const auto original = BitmapFileBytes(100, 50, rows);
    const std::string in = ini.dir.File("in.bmp");
    test::WriteFile(in, std::string(original.begin(), original.end()));

    prompt.openNames << QString::fromStdString(in);
    Click(dialog, "open");
    ASSERT_EQ(View().Picture().size(), QSize(100, 50));
    EXPECT_TRUE(SaveEnabled());
    prompt.saveNames << QString::fromStdString(ini.dir.File("a.bmp"))
                     << QString::fromStdString(ini.dir.File("b.bmp"));
    Click(dialog, "save");
    Click(dialog, "save"); // the picture stays available after a save
    const std::string a = test::ReadFile(ini.dir.File("a.bmp"));
    EXPECT_EQ(a.size(), 15054u);
    EXPECT_EQ(a, std::string(original.begin(), original.end()));
    EXPECT_EQ(test::ReadFile(ini.dir.File("b.bmp")), a);
    EXPECT_EQ(prompt.filters, QStringList(3, "*.bmp|*.bmp||"));
}

TEST_F(PictureCapture, CancelledOpenReenablesSave) {
    prompt.openNames << "";
    Click(dialog, "open");
    EXPECT_TRUE(SaveEnabled());
    Click(dialog, "save");
    EXPECT_EQ(prompt.filters.size(), 1) << "no picture: no save dialog";
    EXPECT_EQ(prompt.beeps, 1);

    const std::string notBitmap = ini.dir.File("x.bmp");
    test::WriteFile(notBitmap, "BMnot a picture");
    prompt.openNames << QString::fromStdString(notBitmap);
    Click(dialog, "open");
    EXPECT_TRUE(View().Picture().isNull());
    EXPECT_EQ(prompt.beeps, 2);
}

TEST_F(PictureCapture, NoConnectionAfterTheRetries) {
    ini.Connect(ini.dir.File("none"));
    dialog.SetRetryPause(1);
    Click(dialog, "upload");
    ASSERT_EQ(prompt.Texts(), QStringList{"Failed ! Please check the connection !"});
    EXPECT_EQ(prompt.messages[0].kind, MessageKind::Error);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(Child<QWidget>(dialog, "progress")->isVisible());
    EXPECT_TRUE(Child<QWidget>(dialog, "upload")->isEnabled());
}

TEST_F(PictureCapture, TheConnectWaitCanBeCancelled) {
    ini.Connect(ini.dir.File("none"));
    dialog.SetRetryPause(60000);
    QTimer::singleShot(200, [&] { Click(dialog, "cancel"); });
    QElapsedTimer clock;
    clock.start();
    Click(dialog, "upload");
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_TRUE(prompt.messages.empty()) << "the user's own choice needs no message";
    EXPECT_FALSE(SaveEnabled());
    EXPECT_FALSE(Child<QWidget>(dialog, "cancel")->isVisible());
}

} // namespace
} // namespace qm
