#include "cli/Cli.h"

#ifdef QM_HAVE_CHART

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <memory>
#include <ostream>

#include "chart/CInstrument.h"
#include "chart/ChartPicture.h"
#include "chart/IMessageSink.h"
#include "chart/InstrumentFactory.h"
#include "cli/CliProject.h"

namespace qm::cli {

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 500;
constexpr long kMaxSide = 16384;
constexpr int kLevelValue = 500;
constexpr int kHumValue = 900;

// "WxH" with two positive numbers.
bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    long w = 0, h = 0;
    if (!ParseInt(text.substr(0, x), w) || !ParseInt(text.substr(x + 1), h))
        return false;
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// ".png", ".bmp" (any letter case) or "" for any other name.
std::string PictureExtension(const std::string& path) {
    if (path.size() < 5)
        return {};
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".png" || ext == ".bmp" ? ext : std::string();
}

// The message boxes the controller would show, printed once the frame is written.
class CollectedMessages : public IMessageSink {
public:
    void ShowError(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

// Qt's own notes (run-time directories and the like) would mix with the tool's messages.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "qm7100: %s\n", qPrintable(text));
}

} // namespace

void EnsureGuiApplication() {
    if (QGuiApplication::instance())
        return;
    qInstallMessageHandler(QuietQtMessages);
    // Pictures need no screen. On Windows the program's own platform draws them with the
    // system's fonts; the offscreen one would read fonts from Qt's folder, which an installed
    // program does not have.
#ifndef _WIN32
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    static int argc = 1;
    static char name[] = "qm7100";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

int RunChart(Context& ctx) {
    std::vector<std::string> args = ctx.args;
    bool ok = true;
    std::string sizeText, markerText;
    const bool hasSize = TakeOption(args, "--size", sizeText, ok);
    const bool hasMarker = TakeOption(args, "--marker", markerText, ok);
    if (!ok)
        return UsageError(ctx, "an option is missing its value");
    if (args.size() != 4)
        return UsageError(ctx, "chart needs PROJECT.f71 INDEX SECTION OUT.png");
    int width = kDefaultWidth, height = kDefaultHeight;
    if (hasSize && !ParseSize(sizeText, width, height))
        return UsageError(ctx, "--size must be WxH with sides from 1 to 16384: '" + sizeText + "'");
    long marker = 0;
    if (hasMarker && (!ParseInt(markerText, marker) || marker < 0 || marker > INT_MAX))
        return UsageError(ctx, "--marker must be a point index: '" + markerText + "'");
    const std::string& out = args[3];
    const bool toStdout = out == "-";
    if (!toStdout && PictureExtension(out).empty())
        return UsageError(ctx, "OUT must end in .png or .bmp (or be - for a PNG on stdout): '" +
                                   out + "'");
    const int section = SectionValue(args[2]);
    if (section == 0)
        return UsageError(ctx, "unknown SECTION '" + args[2] + "'");

    _tagFileDataExt element;
    if (int rc = LoadElementOrReport(ctx, args[0], args[1], element); rc != kExitOk)
        return rc;
    if (section == kLevelValue || section == kHumValue) {
        ctx.err << "qm7100: the " << args[2] << " section has no chart\n";
        return kExitFailed;
    }

    EnsureGuiApplication();
    CollectedMessages messages;
    std::unique_ptr<CInstrument> chart = MakeInstrument(section);
    chart->SetMessageSink(&messages);
    chart->SetKindName();
    chart->Create(nullptr, {0, 0, width, height});
    chart->SetData(element);
    chart->RefreshTexts();
    chart->Resize(0, 0, width, height);
    if (hasMarker)
        chart->Surface()->SetMarkerPosition(0, static_cast<int>(marker));
    const QImage frame = chart->DrawFrame();

    if (toStdout) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        const bool encoded =
            !frame.isNull() && buffer.open(QIODevice::WriteOnly) && frame.save(&buffer, "PNG");
        if (encoded)
            ctx.out.write(bytes.constData(), bytes.size());
        if (!encoded || !ctx.out.flush()) {
            ctx.err << "qm7100: cannot write the picture to standard output\n";
            return kExitFailed;
        }
    } else if (!SaveChartPicture(frame, out)) {
        return WriteError(ctx, out);
    }
    for (const std::string& text : messages.texts)
        ctx.err << text << "\n";
    return messages.texts.empty() ? kExitOk : kExitFailed;
}

} // namespace qm::cli

#else

namespace qm::cli {

int RunChart(Context& ctx) {
    return UsageError(ctx, "this build has no chart engine");
}

} // namespace qm::cli

#endif
