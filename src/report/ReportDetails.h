#pragma once

#include <QImage>
#include <string>

namespace qm {

// Who measured, where and for whom: what an operator's acceptance report names besides the
// measurements. Every field may be empty; a report without any looks as it always did.
struct ReportDetails {
    std::string title; // instead of "Acceptance report"
    std::string company;
    std::string logo; // path of a PNG, JPEG or SVG file
    std::string site;
    std::string customer;
    std::string order; // the work order
    std::string technician;
    std::string notes; // may hold several lines

    bool Empty() const;
};

// Fills details from an INI file's [Report] section, keys as the command line's options
// (Title, Company, Logo, Site, Customer, Order, Technician, Notes); keys the file lacks keep
// what details held. A logo named relative to the file is looked for beside it. False with
// the reason in error when the file cannot be read.
bool ReadReportDetails(const std::string& path, ReportDetails& details, std::string& error);

// The logo as a picture that fills a box of boxWidth x boxHeight pixels at most, keeping its
// proportions: drawings are rendered at that size, pictures larger than twice it are scaled
// down to it. A null picture with the reason in error when the file is not a picture.
QImage LoadReportLogo(const std::string& path, int boxWidth, int boxHeight, std::string& error);

} // namespace qm
