#include "report/AcceptanceReport.h"

#include <QBuffer>
#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>

#include "app/FileTree.h"
#include "base/BinaryFile.h"
#include "chart/SectionChart.h"
#include "limits/LimitCheck.h"
#include "limits/LimitTexts.h"
#include "panes/AnalysisPane.h"
#include "panes/PaneText.h"
#include "report/ReportLayout.h"
#include "report/ReportPageFrame.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

// Picture size of a chart: sharper than the screen, yet with its texts still readable once
// the picture is scaled to the page's width.
constexpr int kChartWidth = 1000;
constexpr int kChartHeight = 560;
constexpr int kShownWidth = 600; // within the page's text width

constexpr int kPdfResolution = 300;

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\n':
            out += "<br/>";
            break;
        default:
            // Control bytes of a file name have no place in a document.
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

std::string MeterText(int kind) {
    switch (kind) {
    case 0:
        return "7100Q / 7100B";
    case 1:
        return "7100T / 7100D";
    case 2:
        return "7100T2";
    }
    return "kind " + std::to_string(kind);
}

const char* VerdictColour(Verdict v) {
    switch (v) {
    case Verdict::Pass:
        return "#1b6e20";
    case Verdict::Fail:
        return "#b00020";
    default:
        return "#555555";
    }
}

// Cells are styled by attributes, not style sheets: a grid of a hundred files' rows is laid
// out several times faster, and an inline style on a cell would drop its borders.
std::string VerdictCell(Verdict v, int base) {
    const std::string mark = v == Verdict::Fail   ? "&#x2717; "
                             : v == Verdict::Pass ? "&#x2713; "
                                                  : "";
    return std::string("<td><font color=\"") + VerdictColour(v) + "\"><b>" + mark +
           Escape(VerdictWord(v, base)) + "</b></font></td>";
}

// A failing value: marked, in red on red.
std::string FailCell(const std::string& text) {
    return "<td bgcolor=\"#f9d6db\"><font color=\"#b00020\"><b>&#x2717; " + Escape(text) +
           "</b></font></td>";
}

// A grid table with its heading row, repeated on every page the table runs over; the rows
// and "</table>" follow.
std::string HeadingRow(const std::vector<std::string>& titles) {
    std::string row = "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                      "style=\"border-style:solid;border-color:#999999\"><thead><tr "
                      "bgcolor=\"#dde6f3\">";
    for (const std::string& t : titles)
        row += "<th align=\"left\"><small>" + Escape(t) + "</small></th>";
    return row + "</tr></thead>";
}

// Whatever verdict the files add up to: a failure anywhere fails the report.
Verdict Overall(const std::vector<FileCheck>& checks) {
    bool pass = false;
    bool checked = false;
    for (const FileCheck& c : checks) {
        if (c.verdict == Verdict::Fail)
            return Verdict::Fail;
        pass = pass || c.verdict == Verdict::Pass;
        checked = checked || c.verdict != Verdict::NotMeasured;
    }
    return pass ? Verdict::Pass : checked ? Verdict::NotChecked : Verdict::NotMeasured;
}

// One file as its chapter shows it: each section judged once, on the very pane whose table
// the chapter shows.
struct JudgedFile {
    std::vector<std::unique_ptr<AnalysisPane>> panes;
    FileCheck check;
};

JudgedFile Judge(const _tagFileDataExt& element, const LimitProfile& profile, int base) {
    JudgedFile judged;
    const MeasurementFile file(element);
    std::vector<SectionCheck> checks;
    for (PaneSection section : JudgedSections(file)) {
        judged.panes.push_back(MakeAnalysisPane(section, base, "dBuV"));
        judged.panes.back()->ShowFile(element);
        checks.push_back(CheckPane(*judged.panes.back(), profile));
    }
    judged.check = CombineSections(std::move(checks));
    return judged;
}

QByteArray PngBytes(const QImage& picture) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

using Pictures = std::vector<std::pair<std::string, QImage>>;

// The report's HTML, one part at a time: the first page with the details, then one chapter
// per file. Chart pictures are PNG data URIs when embedded; otherwise they are named
// "chart:FILE/SECTION" and handed out for a document's resources.
class Writer {
public:
    Writer(const ReportInput& input, bool embed) : m_in(input), m_embed(embed) {}

    std::string Begin() const {
        return "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta "
               "charset=\"utf-8\"/><title>" +
               Escape(Title()) +
               "</title><style>"
               "body{font-family:'DejaVu Sans','WenQuanYi Micro Hei',sans-serif;font-size:9pt}"
               "h1{font-size:16pt;margin-bottom:2pt}h2{font-size:12pt;margin-top:10pt}"
               "</style></head><body>";
    }
    static std::string End() { return "</body></html>"; }

    std::string Title() const {
        return m_in.details.title.empty() ? T(txt::kAcceptanceReport) : m_in.details.title;
    }

    // The first page: who, where, for whom, what it adds up to, and the signatures.
    std::string Cover(const std::vector<FileCheck>& checks, const QImage& logo) const {
        const ReportDetails& d = m_in.details;
        const int base = m_in.languageBase;
        std::string html = "<div>";
        if (m_embed && !logo.isNull())
            html += "<p><img src=\"data:image/png;base64," +
                    PngBytes(logo).toBase64().toStdString() + "\" height=\"48\"/></p>";
        html += "<h1>" + Escape(Title()) + "</h1><table cellpadding=\"3\">";
        const auto row = [&html](const std::string& name, const std::string& value) {
            if (!value.empty())
                html +=
                    "<tr><td><b>" + Escape(name) + "</b></td><td>" + Escape(value) + "</td></tr>";
        };
        row(T(txt::kCompany), d.company);
        row(T(txt::kReportSite), d.site);
        row(T(txt::kCustomer), d.customer);
        row(T(txt::kWorkOrder), d.order);
        row(T(txt::kTechnician), d.technician);
        row(T(txt::kProject), m_in.projectName);
        row(T(txt::kReportDate), ReportDate());
        row(T(txt::kLimitProfile), m_in.profile.ShownName(m_in.languageBase));
        row(T(txt::kProfileSource),
            m_in.profileSource.empty() ? T(txt::kShippedWithProgram) : m_in.profileSource);
        std::vector<std::string> meters;
        for (const _tagFileDataExt& e : m_in.files) {
            const std::string m = MeterText(MeasurementFile(e).Kind());
            if (std::find(meters.begin(), meters.end(), m) == meters.end())
                meters.push_back(m);
        }
        std::string meterText;
        for (const std::string& m : meters)
            meterText += (meterText.empty() ? "" : ", ") + m;
        row(T(txt::kMeter), meterText);
        row(T(txt::kNotes), d.notes);
        html += "</table>";

        std::optional<double> worst;
        int passing = 0;
        for (const FileCheck& c : checks) {
            passing += c.verdict == Verdict::Pass;
            if (c.worstMargin && (!worst || *c.worstMargin < *worst))
                worst = c.worstMargin;
        }
        const Verdict overall = Overall(checks);
        html += "<p style=\"font-size:12pt;color:" + std::string(VerdictColour(overall)) +
                "\"><b>" +
                Escape(ReportVerdictLine(overall, passing, static_cast<int>(checks.size()), worst,
                                         base)) +
                "</b></p>";

        html += "<h2>" + Escape(T(txt::kReportFiles)) + "</h2>" +
                HeadingRow({T(txt::kLimitFile), T(txt::kDate), T(txt::kMeter), T(txt::kChannels),
                            T(txt::kVerdict)});
        for (std::size_t i = 0; i < m_in.files.size(); ++i) {
            const MeasurementFile file(m_in.files[i]);
            const FileCheck& c = checks[i];
            html += "<tr><td>" + Escape(FileName(i)) + "</td><td>" + Escape(FileDate(file)) +
                    "</td><td>" + Escape(MeterText(file.Kind())) + "</td><td>" +
                    Escape(SummaryLine(c.passCount, c.channelCount, std::nullopt, base)) + "</td>" +
                    VerdictCell(c.verdict, base) + "</tr>";
        }
        html += "</table>";

        // Room to sign for the one who measured and the one who accepts.
        const auto signature = [this](const std::string& who, const std::string& name) {
            return "<td width=\"50%\" valign=\"bottom\"><b>" + Escape(who) + "</b>" +
                   (name.empty() ? std::string() : Colon() + Escape(name)) + "<br/><br/><br/>" +
                   Escape(T(txt::kSignature)) + Colon() + "____________________<br/><br/>" +
                   Escape(T(txt::kDate)) + Colon() + "____________________</td>";
        };
        html += "<p><br/></p><table width=\"100%\" cellpadding=\"6\"><tr>" +
                signature(T(txt::kTechnician), d.technician) +
                signature(T(txt::kCustomer), d.customer) + "</tr></table></div>";
        return html;
    }

    std::string Chapter(int index, const JudgedFile& judged) const {
        const _tagFileDataExt& element = m_in.files[static_cast<std::size_t>(index)];
        const MeasurementFile file(element);
        const int base = m_in.languageBase;
        const FileCheck& check = judged.check;
        std::string html = "<div><h1>" + Escape(T(txt::kAcceptanceReport)) + "</h1>";
        html += "<table cellpadding=\"3\">";
        const auto headerRow = [&html](const std::string& name, const std::string& value) {
            html += "<tr><td><b>" + Escape(name) + "</b></td><td>" + Escape(value) + "</td></tr>";
        };
        if (!m_in.projectName.empty())
            headerRow(T(txt::kProject), m_in.projectName);
        headerRow(T(txt::kLimitFile), FileName(static_cast<std::size_t>(index)));
        headerRow(T(txt::kDate), FileDate(file));
        headerRow(T(txt::kMeter), MeterText(file.Kind()));
        headerRow(T(txt::kLimitProfile), m_in.profile.ShownName(m_in.languageBase));
        html += "</table>";

        html += "<p style=\"font-size:12pt;color:" + std::string(VerdictColour(check.verdict)) +
                "\"><b>" + Escape(VerdictLine(check, base)) + "</b></p>";
        html += Summary(check);
        for (std::size_t i = 0; i < judged.panes.size(); ++i)
            html += SectionTable(*judged.panes[i], check.sections[i]);
        html += Charts(index, element, check);
        html += "<h2>" + Escape(T(txt::kLimitsProfile)) + "</h2>";
        html += ProfileTable();
        html += "<p>" + Escape(T(txt::kLevelsInDBuVValueEqualLimit)) + "</p>";
        html += "<p><br/><br/>" + Escape(T(txt::kSignature)) + Colon() +
                "______________________________ &#160;&#160; " + Escape(T(txt::kDate)) + Colon() +
                "______________</p></div>";
        return html;
    }

    // The pictures a chapter names when they are not inside it. They are drawn only when the
    // chapter's pages are, so that a long report never holds all of them.
    Pictures ChapterPictures(int index, const FileCheck& check) const {
        const _tagFileDataExt& element = m_in.files[static_cast<std::size_t>(index)];
        Pictures pictures;
        for (PaneSection section : ChartSections(element))
            pictures.emplace_back(ChartName(index, section), Chart(element, check, section));
        return pictures;
    }

    std::string ReportDate() const {
        return m_in.date.empty() ? QDate::currentDate().toString(Qt::ISODate).toStdString()
                                 : m_in.date;
    }

private:
    std::string T(int id) const { return Tr(id, m_in.languageBase); }
    // The colon after a label, as the language writes it.
    std::string Colon() const { return m_in.languageBase == kLanguageChinese ? "：" : ": "; }

    std::string FileName(std::size_t at) const {
        const MeasurementFile file(m_in.files[at]);
        return ShownName(file.HasLayout() ? AnsiToUtf8(file.FileName(), m_in.languageBase)
                                          : std::string(),
                         at < m_in.incomplete.size() && m_in.incomplete[at], m_in.languageBase);
    }

    std::string FileDate(const MeasurementFile& file) const {
        return file.HasLayout() ? AnsiToUtf8(file.DateTimeText(), m_in.languageBase)
                                : std::string();
    }

    static std::vector<PaneSection> ChartSections(const _tagFileDataExt& element) {
        const MeasurementFile file(element);
        const std::pair<std::uint8_t, PaneSection> charts[] = {
            {kFlagTilt, PaneSection::Tilt},
            {kFlagScan, PaneSection::Scan},
            {kFlagSpectrum, PaneSection::Spectrum},
            {kFlagLimit, PaneSection::Limit}};
        std::vector<PaneSection> sections;
        for (const auto& [flag, section] : charts)
            if (file.SectionFlags() & flag)
                sections.push_back(section);
        return sections;
    }

    static std::string ChartName(int index, PaneSection section) {
        return "chart:" + std::to_string(index) + "/" + std::to_string(TreeValue(section));
    }

    QImage Chart(const _tagFileDataExt& element, const FileCheck& check,
                 PaneSection section) const {
        ChartPictureOptions options;
        options.style = m_in.chartStyle;
        if (const SectionCheck* judged = check.Section(section))
            options.outlinedBars = FailingBars(*judged);
        return RenderSectionChart(section, element, kChartWidth, kChartHeight, options);
    }

    std::string Summary(const FileCheck& check) const {
        const int base = m_in.languageBase;
        std::string html =
            "<h2>" + Escape(T(txt::kSummary)) + "</h2>" +
            HeadingRow({T(txt::kSection), T(txt::kChannels), T(txt::kMargin), T(txt::kVerdict)});
        for (const SectionCheck& s : check.sections) {
            html += "<tr><td>" + Escape(SectionName(s.section, base)) + "</td><td>" +
                    Escape(SummaryLine(s.passCount, s.channelCount, std::nullopt, base)) +
                    "</td><td>" +
                    (s.worstMargin ? Format("%+.1f dB", *s.worstMargin) : std::string(kNoValue)) +
                    "</td>" + VerdictCell(s.verdict, base) + "</tr>";
        }
        return html + "</table>";
    }

    // The pane's own table, each checked cell marked, and the row's verdict beside it.
    std::string SectionTable(const AnalysisPane& pane, const SectionCheck& s) const {
        const int base = m_in.languageBase;
        const PaneTable* table = pane.JudgedTable();
        if (!table)
            return {};
        std::string html = "<h2>" + Escape(SectionName(s.section, base)) + "</h2>";
        for (const ValueCheck& v : s.fileValues)
            html += "<p>" + Escape(QuantityName(v.quantity, base)) + Colon() +
                    Escape(CheckValueText(v)) + " dB (" + Escape(v.limitText) +
                    ") &#160; <b style=\"color:" + VerdictColour(v.verdict) + "\">" +
                    Escape(VerdictWord(v.verdict, base)) + "</b></p>";
        if (table->rows.empty())
            return html;
        std::vector<std::string> titles;
        for (const PaneColumn& c : table->columns)
            titles.push_back(c.title);
        titles.push_back(T(txt::kVerdict));
        html += HeadingRow(titles);
        for (std::size_t r = 0; r < table->rows.size(); ++r) {
            const ChannelCheck* c = s.AtRow(static_cast<int>(r));
            html += "<tr>";
            const auto& row = table->rows[r];
            for (std::size_t col = 0; col < row.size(); ++col) {
                const bool fails = c && c->ColumnVerdict(static_cast<int>(col)) == Verdict::Fail;
                html += fails ? FailCell(row[col]) : "<td>" + Escape(row[col]) + "</td>";
            }
            html += c ? VerdictCell(c->verdict, base) : "<td></td>";
            html += "</tr>";
        }
        return html + "</table>";
    }

    std::string Charts(int index, const _tagFileDataExt& element, const FileCheck& check) const {
        std::string html;
        int shown = 0;
        for (PaneSection section : ChartSections(element)) {
            // Two charts to a page, each under its heading.
            html += shown++ % 2 == 0 ? "<h2 style=\"page-break-before:always\">" : "<h2>";
            html += Escape(SectionName(section, m_in.languageBase)) + "</h2>";
            const std::string src =
                m_embed ? "data:image/png;base64," +
                              PngBytes(Chart(element, check, section)).toBase64().toStdString()
                        : ChartName(index, section);
            html += "<p><img src=\"" + src + "\" width=\"" + std::to_string(kShownWidth) +
                    "\" height=\"" + std::to_string(kShownWidth * kChartHeight / kChartWidth) +
                    "\"/></p>";
        }
        return html;
    }

    std::string ProfileTable() const {
        std::string html = HeadingRow({T(txt::kSignal), T(txt::kLevelMin), T(txt::kLevelMax),
                                       T(txt::kVideoAudioMin), T(txt::kVideoAudioMax),
                                       T(txt::kMERMin), T(txt::kBERMax)});
        const auto row = [&html](const std::string& name, const ChannelLimits& l, bool tv) {
            html += "<tr><td>" + Escape(name) + "</td><td>" + Format("%.1f", l.levelMin) +
                    "</td><td>" + Format("%.1f", l.levelMax) + "</td>";
            if (tv)
                html += "<td>" + Format("%.1f", l.videoAudioMin) + "</td><td>" +
                        Format("%.1f", l.videoAudioMax) + "</td><td>---</td><td>---</td>";
            else
                html += "<td>---</td><td>---</td><td>" + Format("%.1f", l.merMin) + "</td><td>" +
                        Format("%.1E", l.berMax) + "</td>";
            html += "</tr>";
        };
        const LimitProfile& p = m_in.profile;
        row("TV", p.tv, true);
        for (const auto& [order, limits] : p.cable)
            row("DVB-C " + (order == kOrderQpsk    ? std::string("QPSK")
                            : order == kOrderCofdm ? std::string("COFDM")
                                                   : std::to_string(order) + "QAM"),
                limits, false);
        row("DVB-T", p.terrestrial, false);
        row("DVB-T2", p.terrestrial2, false);
        html += "</table><p>" + Escape(QuantityName(Quantity::Tilt, m_in.languageBase)) +
                " &lt;= " + Format("%.1f dB", p.tiltMax) + " &#160; " +
                Escape(QuantityName(Quantity::Adjacent, m_in.languageBase)) +
                " &lt;= " + Format("%.1f dB", p.adjacentMax) + " &#160; " +
                Escape(QuantityName(Quantity::Hum, m_in.languageBase)) +
                " &lt;= " + Format("%.2f%%", p.humMax) + "</p>";
        return html;
    }

    const ReportInput& m_in;
    bool m_embed;
};

// Counts the steps of a report and asks before each whether to go on.
class Steps {
public:
    Steps(const ReportProgressFn& progress, int total) : m_progress(progress), m_total(total) {}
    bool Next() { return !m_progress || m_progress(m_done++, m_total); }
    bool Last() { return !m_progress || m_progress(m_total, m_total); }

private:
    const ReportProgressFn& m_progress;
    int m_total;
    int m_done = 0;
};

std::string Cancelled(int base) {
    return Tr(txt::kReportCancelled, base);
}

// The logo named in the details, fitted to the header's box at the PDF's resolution; a null
// picture without one; false with the reason when it cannot be read.
bool ReadLogo(const ReportInput& input, QImage& logo, std::string& error) {
    if (input.details.logo.empty())
        return true;
    const int width = static_cast<int>(ReportPageFrame::kLogoWidthMm * kPdfResolution / 25.4);
    const int height = static_cast<int>(ReportPageFrame::kLogoHeightMm * kPdfResolution / 25.4);
    std::string reason;
    logo = LoadReportLogo(input.details.logo, width, height, reason);
    if (logo.isNull()) {
        error = input.details.logo + ": " + Tr(txt::kLogoCannotBeRead, input.languageBase) + " (" +
                reason + ")";
        return false;
    }
    return true;
}

std::vector<JudgedFile> JudgeAll(const ReportInput& input) {
    std::vector<JudgedFile> judged;
    judged.reserve(input.files.size());
    for (const _tagFileDataExt& e : input.files)
        judged.push_back(Judge(e, input.profile, input.languageBase));
    return judged;
}

std::vector<FileCheck> ChecksOf(const std::vector<JudgedFile>& judged) {
    std::vector<FileCheck> checks;
    for (const JudgedFile& j : judged)
        checks.push_back(j.check);
    return checks;
}

bool PdfBytes(const ReportInput& input, const QImage& logo, std::string& bytes, std::string& error,
              const ReportProgressFn& progress) {
    const bool cover = !input.details.Empty();
    const int parts = static_cast<int>(input.files.size()) + (cover ? 1 : 0);
    // Laying out and drawing each part, then the file.
    Steps steps(progress, 2 * parts + 1);
    const std::vector<JudgedFile> judged = JudgeAll(input);
    const Writer writer(input, false);

    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter device(&buffer);
    device.setPageSize(ReportPageSize(QLocale::system().name().toStdString()));
    device.setPageMargins(QMarginsF(15, 12, 15, 12), QPageLayout::Millimeter);
    device.setResolution(kPdfResolution);
    device.setTitle(QString::fromStdString(writer.Title()));
    device.setCreator("QM7100 Workdesk");
    const ReportPageFrame frame(device, logo,
                                {input.details.company, input.details.site, writer.Title(),
                                 writer.ReportDate(), input.projectName,
                                 Tr(txt::kPage, input.languageBase)});
    const QRectF body = frame.Body();

    // Every part is laid out before any is drawn: the footer counts the pages of all.
    std::vector<std::string> html;
    for (int part = 0; part < parts; ++part) {
        const int file = cover ? part - 1 : part;
        html.push_back(writer.Begin() +
                       (file < 0 ? writer.Cover(ChecksOf(judged), logo)
                                 : writer.Chapter(file, judged[static_cast<std::size_t>(file)])) +
                       Writer::End());
    }
    ReportLayoutPool pool(html, device, body.size());
    std::vector<std::unique_ptr<QTextDocument>> docs = pool.Run([&steps] { return steps.Next(); });
    if (docs.empty() && parts > 0) {
        error = Cancelled(input.languageBase);
        return false;
    }
    int pages = 0;
    for (const auto& doc : docs)
        pages += doc->pageCount();

    QPainter painter(&device);
    int page = 0;
    for (int part = 0; part < parts; ++part) {
        if (!steps.Next()) {
            painter.end();
            error = Cancelled(input.languageBase);
            return false;
        }
        QTextDocument& doc = *docs[static_cast<std::size_t>(part)];
        const int file = cover ? part - 1 : part;
        if (file >= 0)
            for (const auto& [name, picture] :
                 writer.ChapterPictures(file, judged[static_cast<std::size_t>(file)].check))
                doc.addResource(QTextDocument::ImageResource, QUrl(QString::fromStdString(name)),
                                picture);
        for (int p = 0; p < doc.pageCount(); ++p) {
            if (page > 0)
                device.newPage();
            frame.Draw(painter, ++page, pages);
            DrawReportPage(painter, doc, body, p);
        }
        docs[static_cast<std::size_t>(part)].reset(); // its pictures go with it
    }
    painter.end();
    if (!steps.Last()) {
        error = Cancelled(input.languageBase);
        return false;
    }
    bytes.assign(pdf.constData(), static_cast<std::size_t>(pdf.size()));
    return true;
}

bool HtmlBytes(const ReportInput& input, const QImage& logo, std::string& bytes, std::string& error,
               const ReportProgressFn& progress) {
    const bool cover = !input.details.Empty();
    Steps steps(progress, static_cast<int>(input.files.size()) + (cover ? 1 : 0) + 1);
    const std::vector<JudgedFile> judged = JudgeAll(input);
    const Writer writer(input, true);
    bytes = writer.Begin();
    if (cover) {
        if (!steps.Next()) {
            error = Cancelled(input.languageBase);
            return false;
        }
        bytes += writer.Cover(ChecksOf(judged), logo);
    }
    for (std::size_t i = 0; i < judged.size(); ++i) {
        if (!steps.Next()) {
            error = Cancelled(input.languageBase);
            return false;
        }
        // Chapters after the first begin a page of their own when printed.
        if (i > 0 || cover)
            bytes += "<div style=\"page-break-before:always\"></div>";
        bytes += writer.Chapter(static_cast<int>(i), judged[i]);
    }
    bytes += Writer::End();
    if (!steps.Last()) {
        error = Cancelled(input.languageBase);
        return false;
    }
    return true;
}

std::string LowerExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return {};
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

std::string ReportHtml(const ReportInput& input) {
    QImage logo;
    std::string bytes;
    std::string error;
    ReadLogo(input, logo, error);
    HtmlBytes(input, logo, bytes, error, {});
    return bytes;
}

QPageSize ReportPageSize(const std::string& localeName) {
    const QLocale locale(QString::fromStdString(localeName));
    switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::Venezuela:
    case QLocale::Philippines:
        return QPageSize(QPageSize::Letter);
    default:
        return QPageSize(QPageSize::A4);
    }
}

bool WriteReport(const ReportInput& input, const std::string& path, std::string& error,
                 const ReportProgressFn& progress) {
    const std::string ext = LowerExtension(path);
    const bool html = ext == ".html" || ext == ".htm";
    if (!html && ext != ".pdf") {
        error = path + ": the report must end in .pdf or .html";
        return false;
    }
    QImage logo;
    if (!ReadLogo(input, logo, error))
        return false;
    std::string bytes;
    if (!(html ? HtmlBytes(input, logo, bytes, error, progress)
               : PdfBytes(input, logo, bytes, error, progress)))
        return false;
    if (ReplaceFileText(path, bytes) != ReplaceStatus::Ok) {
        error = path + ": " + ErrnoText(errno);
        return false;
    }
    return true;
}

} // namespace qm
