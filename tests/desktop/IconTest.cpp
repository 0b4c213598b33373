// The icons of the ribbon, the About box and the channel editor are drawn at the sizes they are
// shown, whether Qt SVG renders them or, with a Qt without it, their PNG renders stand in.
#include <QDir>
#include <QIcon>
#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

#include "desktop/channels/ChannelIcons.h"
#include "support/TestSupport.h"

static void InitDesktopResources() {
    Q_INIT_RESOURCE(desktop);
}

namespace qm {
namespace {

// Drawn at that size and not blank: its opaque pixels are not all of one colour.
bool Drawn(const QIcon& icon, int size) {
    const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    QList<QRgb> opaque;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) >= 128)
                opaque.append(image.pixel(x, y));
    return std::max(image.width(), image.height()) == size &&
           std::any_of(opaque.begin(), opaque.end(), [&](QRgb p) { return p != opaque.front(); });
}

TEST(Icons, EveryIconOfTheResourcesIsDrawnAtTheSizesShown) {
    InitDesktopResources();
    const QDir sources(QString::fromStdString(test::SourcePath("src/desktop/res/icons")));
    const QStringList names = sources.entryList({QStringLiteral("*.svg")}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names)
        for (int size : {16, 32, 48})
            EXPECT_TRUE(Drawn(QIcon(QStringLiteral(":/icons/") + name), size))
                << name.toStdString() << " at " << size;
}

TEST(Icons, EveryChannelEditorButtonIconIsDrawn) {
    for (ChannelIcon which :
         {ChannelIcon::Upload, ChannelIcon::Download, ChannelIcon::Open, ChannelIcon::Save})
        for (int size : {16, 32})
            EXPECT_TRUE(Drawn(MakeChannelIcon(which), size))
                << static_cast<int>(which) << " at " << size;
}

} // namespace
} // namespace qm
