#include "cli/Cli.h"
#include "res/StringTable.h"

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

#include "chart/ChartPicture.h"
#include "chart/IMessageSink.h"
#include "chart/SectionChart.h"
#include "cli/CliProject.h"
#include "measurement/MeasurementFile.h"
#include "res/TextCodec.h"

namespace qm::cli {

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 500;
constexpr long kMaxSide = 16384;

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

// "A: " or "B: " and the file's name, for the legend of a comparison.
QString LegendText(const char* side, const _tagFileDataExt& element) {
    const MeasurementFile file(element);
    return QString::fromUtf8(side) +
           QString::fromStdString(AnsiToUtf8(file.HasLayout() ? file.FileName() : ""));
}

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
    // --compare B.f71 J: a second measurement in the same chart.
    std::optional<std::pair<std::string, std::string>> compare;
    if (const auto at = std::find(args.begin(), args.end(), "--compare"); at != args.end()) {
        if (args.end() - at < 3)
            return UsageError(ctx, txt::kCompareNeedsBF71INDEX);
        compare.emplace(at[1], at[2]);
        args.erase(at, at + 3);
    }
    bool ok = true;
    std::string sizeText, markerText;
    const bool hasSize = TakeOption(args, "--size", sizeText, ok);
    const bool hasMarker = TakeOption(args, "--marker", markerText, ok);
    if (!ok)
        return UsageError(ctx, txt::kOptionMissingValue);
    if (args.size() != 4)
        return UsageError(ctx, txt::kChartNeedsPROJECTF71INDEXSECTION);
    int width = kDefaultWidth, height = kDefaultHeight;
    if (hasSize && !ParseSize(sizeText, width, height))
        return UsageError(ctx, txt::kSizeMustWxHWithSidesFrom2, {sizeText});
    long marker = 0;
    if (hasMarker && (!ParseInt(markerText, marker) || marker < 0 || marker > INT_MAX))
        return UsageError(ctx, txt::kMarkerMustPointIndex2, {markerText});
    const std::string& out = args[3];
    const bool toStdout = out == "-";
    if (!toStdout && PictureExtension(out).empty())
        return UsageError(ctx, txt::kOUTMustEndInPngOr2, {out});
    const std::optional<PaneSection> section = SectionFromTreeValue(SectionValue(args[2]));
    if (!section)
        return UsageError(ctx, txt::kUnknownSECTION2, {args[2]});

    if (compare && *section != PaneSection::Scan && *section != PaneSection::Spectrum)
        return UsageError(ctx, txt::kCompareDrawsScanOrSpectrumSection);
    if (compare && hasMarker)
        return UsageError(ctx, txt::kMarkerDoesNotGoWithCompare);
    _tagFileDataExt element;
    if (int rc = LoadElementOrReport(ctx, args[0], args[1], element); rc != kExitOk)
        return rc;
    _tagFileDataExt other;
    if (compare) {
        if (int rc = LoadElementOrReport(ctx, compare->first, compare->second, other);
            rc != kExitOk)
            return rc;
    }
    if (!HasChart(*section)) {
        ctx.err << "qm7100: " << TrFill(txt::kSectionHasNoChart, {args[2]}) << "\n";
        return kExitFailed;
    }

    EnsureGuiApplication();
    CollectedMessages messages;
    ChartPictureOptions options;
    options.messages = &messages;
    if (hasMarker)
        options.marker = static_cast<int>(marker);
    const QImage frame =
        compare ? RenderComparisonChart(*section, element, other, LegendText("A: ", element),
                                        LegendText("B: ", other), width, height)
                : RenderSectionChart(*section, element, width, height, options);

    if (toStdout) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        const bool encoded =
            !frame.isNull() && buffer.open(QIODevice::WriteOnly) && frame.save(&buffer, "PNG");
        if (encoded)
            ctx.out.write(bytes.constData(), bytes.size());
        if (!encoded || !ctx.out.flush()) {
            ctx.err << "qm7100: " << Tr(txt::kCannotWritePictureStdout) << "\n";
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
    return UsageError(ctx, txt::kThisBuildHasNoChartEngine);
}

} // namespace qm::cli

#endif
