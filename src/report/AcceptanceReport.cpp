#include "report/AcceptanceReport.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "app/FileTree.h"
#include "base/BinaryFile.h"
#include "chart/SectionChart.h"
#include "limits/LimitCheck.h"
#include "limits/LimitTexts.h"
#include "panes/AnalysisPane.h"
#include "panes/PaneText.h"
#include "res/TextCodec.h"

namespace qm {

namespace {

// Picture size of a chart: sharper than the screen, yet with its texts still readable once
// the picture is scaled to the page's width.
constexpr int kChartWidth = 1000;
constexpr int kChartHeight = 560;
constexpr int kShownWidth = 600; // within the page's text width

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

std::string VerdictCell(Verdict v, int base) {
    const std::string mark = v == Verdict::Fail   ? "&#x2717; "
                             : v == Verdict::Pass ? "&#x2713; "
                                                  : "";
    return "<td style=\"color:" + std::string(VerdictColour(v)) + "\"><b>" + mark +
           Escape(VerdictWord(v, base)) + "</b></td>";
}

class Writer {
public:
    Writer(const ReportInput& input, bool embed) : m_in(input), m_embed(embed) {}

    std::string Run() {
        m_html =
            "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><meta charset=\"utf-8\"/><title>" +
            Escape(T("Acceptance report")) +
            "</title><style>"
            "body{font-family:'DejaVu Sans','WenQuanYi Micro Hei',sans-serif;font-size:9pt}"
            "h1{font-size:16pt;margin-bottom:2pt}h2{font-size:12pt;margin-top:10pt}"
            "table.grid{border-collapse:collapse}"
            "table.grid td,table.grid th{border:1px solid #999;padding:2px 5px}"
            "th{background:#dde6f3;text-align:left}"
            "td.fail{background:#f9d6db;color:#b00020;font-weight:bold}"
            "</style></head><body>";
        for (std::size_t i = 0; i < m_in.files.size(); ++i)
            Chapter(static_cast<int>(i));
        m_html += "</body></html>";
        return m_html;
    }

private:
    std::string T(const std::string& english) const {
        return LimitText(english, m_in.languageBase);
    }

    void Chapter(int index) {
        const _tagFileDataExt& element = m_in.files[static_cast<std::size_t>(index)];
        const MeasurementFile file(element);
        const int base = m_in.languageBase;
        // Each section judged once, on the very pane whose table the chapter shows.
        std::vector<std::unique_ptr<AnalysisPane>> panes;
        std::vector<SectionCheck> checks;
        for (PaneSection section : JudgedSections(file)) {
            panes.push_back(MakeAnalysisPane(section, base, "dBuV"));
            panes.back()->ShowFile(element);
            checks.push_back(CheckPane(*panes.back(), m_in.profile));
        }
        const FileCheck check = CombineSections(std::move(checks));
        m_html += index == 0 ? "<div>" : "<div style=\"page-break-before:always\">";
        m_html += "<h1>" + Escape(T("Acceptance report")) + "</h1>";
        m_html += "<table cellpadding=\"3\">";
        const auto headerRow = [this](const std::string& name, const std::string& value) {
            m_html += "<tr><td><b>" + Escape(name) + "</b></td><td>" + Escape(value) + "</td></tr>";
        };
        if (!m_in.projectName.empty())
            headerRow(T("Project"), m_in.projectName);
        const std::size_t at = static_cast<std::size_t>(index);
        headerRow(T("File"),
                  ShownName(file.HasLayout() ? AnsiToUtf8(file.FileName(), base) : std::string(),
                            at < m_in.incomplete.size() && m_in.incomplete[at], base));
        headerRow(T("Date"), file.HasLayout() ? AnsiToUtf8(file.DateTimeText(), m_in.languageBase)
                                              : std::string());
        headerRow(T("Meter"), MeterText(file.Kind()));
        headerRow(T("Limit profile"), m_in.profile.name);
        m_html += "</table>";

        m_html += "<p style=\"font-size:12pt;color:" + std::string(VerdictColour(check.verdict)) +
                  "\"><b>" + Escape(VerdictLine(check, base)) + "</b></p>";
        Summary(check);
        for (std::size_t i = 0; i < panes.size(); ++i)
            SectionTable(*panes[i], check.sections[i]);
        Charts(index, element, check);
        m_html += "<h2>" + Escape(T("Limits of the profile")) + "</h2>";
        ProfileTable();
        m_html += "<p>" + Escape(T("Levels in dBuV; a value equal to a limit passes.")) + "</p>";
        m_html += "<p><br/><br/>" + Escape(T("Signature")) +
                  ": ______________________________ &#160;&#160; " + Escape(T("Date")) +
                  ": ______________</p></div>";
    }

    void Summary(const FileCheck& check) {
        const int base = m_in.languageBase;
        m_html += "<h2>" + Escape(T("Summary")) +
                  "</h2><table class=\"grid\" width=\"100%\"><tr><th>" + Escape(T("Section")) +
                  "</th><th>" + Escape(T("Channels")) + "</th><th>" + Escape(T("Margin")) +
                  "</th><th>" + Escape(T("Verdict")) + "</th></tr>";
        for (const SectionCheck& s : check.sections) {
            m_html += "<tr><td>" + Escape(SectionName(s.section, base)) + "</td><td>" +
                      Escape(SummaryLine(s.passCount, s.channelCount, std::nullopt, base)) +
                      "</td><td>" +
                      (s.worstMargin ? Format("%+.1f dB", *s.worstMargin) : std::string(kNoValue)) +
                      "</td>" + VerdictCell(s.verdict, base) + "</tr>";
        }
        m_html += "</table>";
    }

    // The pane's own table, each checked cell marked, and the row's verdict beside it.
    void SectionTable(const AnalysisPane& pane, const SectionCheck& s) {
        const int base = m_in.languageBase;
        const PaneTable* table = pane.JudgedTable();
        if (!table)
            return;
        m_html += "<h2>" + Escape(SectionName(s.section, base)) + "</h2>";
        for (const ValueCheck& v : s.fileValues)
            m_html += "<p>" + Escape(QuantityName(v.quantity, base)) + ": " +
                      Escape(CheckValueText(v)) + " dB (" + Escape(v.limitText) +
                      ") &#160; <b style=\"color:" + VerdictColour(v.verdict) + "\">" +
                      Escape(VerdictWord(v.verdict, base)) + "</b></p>";
        if (table->rows.empty())
            return;
        m_html += "<table class=\"grid\" width=\"100%\"><tr>";
        for (const PaneColumn& c : table->columns)
            m_html += "<th>" + Escape(c.title) + "</th>";
        m_html += "<th>" + Escape(T("Verdict")) + "</th></tr>";
        for (std::size_t r = 0; r < table->rows.size(); ++r) {
            const ChannelCheck* c = s.AtRow(static_cast<int>(r));
            m_html += "<tr>";
            const auto& row = table->rows[r];
            for (std::size_t col = 0; col < row.size(); ++col) {
                const bool fails = c && c->ColumnVerdict(static_cast<int>(col)) == Verdict::Fail;
                m_html += fails ? "<td class=\"fail\">&#x2717; " : "<td>";
                m_html += Escape(row[col]) + "</td>";
            }
            m_html += c ? VerdictCell(c->verdict, base) : "<td></td>";
            m_html += "</tr>";
        }
        m_html += "</table>";
    }

    void Charts(int index, const _tagFileDataExt& element, const FileCheck& check) {
        const MeasurementFile file(element);
        const std::pair<std::uint8_t, PaneSection> charts[] = {
            {kFlagTilt, PaneSection::Tilt},
            {kFlagScan, PaneSection::Scan},
            {kFlagSpectrum, PaneSection::Spectrum},
            {kFlagLimit, PaneSection::Limit}};
        int shown = 0;
        for (const auto& [flag, section] : charts) {
            if (!(file.SectionFlags() & flag))
                continue;
            // Two charts to a page, each under its heading.
            m_html += shown++ % 2 == 0 ? "<h2 style=\"page-break-before:always\">" : "<h2>";
            m_html += Escape(SectionName(section, m_in.languageBase)) + "</h2>";
            ChartPictureOptions options;
            options.style = m_in.chartStyle;
            if (const SectionCheck* judged = check.Section(section))
                options.outlinedBars = FailingBars(*judged);
            const QImage picture =
                RenderSectionChart(section, element, kChartWidth, kChartHeight, options);
            std::string src =
                "chart:" + std::to_string(index) + "/" + std::to_string(TreeValue(section));
            if (m_embed) {
                QByteArray png;
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                picture.save(&buffer, "PNG");
                src = "data:image/png;base64," + png.toBase64().toStdString();
            } else {
                m_pictures.emplace_back(src, picture);
            }
            m_html += "<p><img src=\"" + src + "\" width=\"" + std::to_string(kShownWidth) +
                      "\" height=\"" + std::to_string(kShownWidth * kChartHeight / kChartWidth) +
                      "\"/></p>";
        }
    }

    void ProfileTable() {
        m_html += "<table class=\"grid\" width=\"100%\"><tr><th>" + Escape(T("Signal")) +
                  "</th><th>" + Escape(T("Level min")) + "</th><th>" + Escape(T("Level max")) +
                  "</th><th>" + Escape(T("V/A min")) + "</th><th>" + Escape(T("V/A max")) +
                  "</th><th>" + Escape(T("MER min")) + "</th><th>" + Escape(T("BER max")) +
                  "</th></tr>";
        const auto row = [this](const std::string& name, const ChannelLimits& l, bool tv) {
            m_html += "<tr><td>" + Escape(name) + "</td><td>" + Format("%.1f", l.levelMin) +
                      "</td><td>" + Format("%.1f", l.levelMax) + "</td>";
            if (tv)
                m_html += "<td>" + Format("%.1f", l.videoAudioMin) + "</td><td>" +
                          Format("%.1f", l.videoAudioMax) + "</td><td>---</td><td>---</td>";
            else
                m_html += "<td>---</td><td>---</td><td>" + Format("%.1f", l.merMin) + "</td><td>" +
                          Format("%.1E", l.berMax) + "</td>";
            m_html += "</tr>";
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
        m_html += "</table><p>" + Escape(QuantityName(Quantity::Tilt, m_in.languageBase)) +
                  " &lt;= " + Format("%.1f dB", p.tiltMax) + " &#160; " +
                  Escape(QuantityName(Quantity::Adjacent, m_in.languageBase)) +
                  " &lt;= " + Format("%.1f dB", p.adjacentMax) + " &#160; " +
                  Escape(QuantityName(Quantity::Hum, m_in.languageBase)) +
                  " &lt;= " + Format("%.2f%%", p.humMax) + "</p>";
    }

    const ReportInput& m_in;
    bool m_embed;
    std::string m_html;
    std::vector<std::pair<std::string, QImage>> m_pictures;

public:
    // The pictures the document names, when they are not inside it.
    const std::vector<std::pair<std::string, QImage>>& Pictures() const { return m_pictures; }
};

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

std::string ReportHtml(const ReportInput& input, bool embedPictures) {
    return Writer(input, embedPictures).Run();
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

bool WriteReport(const ReportInput& input, const std::string& path, std::string& error) {
    const std::string ext = LowerExtension(path);
    std::string bytes;
    if (ext == ".html" || ext == ".htm") {
        bytes = ReportHtml(input, true);
    } else if (ext == ".pdf") {
        Writer document(input, false);
        QTextDocument doc;
        doc.setHtml(QString::fromStdString(document.Run()));
        for (const auto& [name, picture] : document.Pictures())
            doc.addResource(QTextDocument::ImageResource, QUrl(QString::fromStdString(name)),
                            picture);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageSize(ReportPageSize(QLocale::system().name().toStdString()));
            writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
            writer.setResolution(300);
            writer.setTitle(
                QString::fromStdString(LimitText("Acceptance report", input.languageBase)));
            writer.setCreator("QM7100 Workdesk");
            doc.print(&writer);
        }
        bytes.assign(pdf.constData(), static_cast<std::size_t>(pdf.size()));
    } else {
        error = path + ": the report must end in .pdf or .html";
        return false;
    }
    if (ReplaceFileText(path, bytes) != ReplaceStatus::Ok) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace qm
