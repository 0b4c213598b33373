#pragma once

#include <QImage>
#include <QRectF>
#include <string>

class QPaintDevice;
class QPainter;

namespace qm {

// The header and footer every page of a report carries: logo, company and site on the left,
// the report's title and date on the right; the project under the text on the left, the page
// number on the right.
class ReportPageFrame {
public:
    // The header's logo box and the bands above and below the text, in millimetres.
    static constexpr double kLogoWidthMm = 36;
    static constexpr double kLogoHeightMm = 12;
    static constexpr double kHeaderMm = 15;
    static constexpr double kFooterMm = 9;

    struct Texts {
        std::string company;
        std::string site;
        std::string title;
        std::string date;
        std::string project;
        std::string pageNumber; // "Page %1 of %2" in the report's language
    };

    ReportPageFrame(QPaintDevice& device, QImage logo, Texts texts);

    // Where the text goes on each page, in the device's pixels.
    QRectF Body() const;

    void Draw(QPainter& painter, int page, int pages) const;

private:
    double Mm(double mm) const;
    QRectF Line(const QString& text) const; // of the header's small font

    QPaintDevice& m_device;
    QImage m_logo;
    Texts m_texts;
};

} // namespace qm
