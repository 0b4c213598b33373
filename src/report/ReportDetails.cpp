#include "report/ReportDetails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/IniFile.h"
#include "res/StringTable.h"

namespace qm {

bool ReportDetails::Empty() const {
    return title.empty() && company.empty() && logo.empty() && site.empty() && customer.empty() &&
           order.empty() && technician.empty() && notes.empty();
}

bool ReadReportDetails(const std::string& path, ReportDetails& details, std::string& error) {
    // The INI layer reads a missing file as empty; a details file named by the user must be
    // there.
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
    } else {
        error = path + ": " + ErrnoText(errno);
        return false;
    }
    const IniFile ini(path);
    const auto take = [&ini](const char* key, std::string& field) {
        field = ini.Read("Report", key, field);
    };
    take("Title", details.title);
    take("Company", details.company);
    const std::string before = details.logo;
    take("Logo", details.logo);
    take("Site", details.site);
    take("Customer", details.customer);
    take("Order", details.order);
    take("Technician", details.technician);
    take("Notes", details.notes);
    const QString logo = QFile::decodeName(details.logo.c_str());
    if (details.logo != before && !logo.isEmpty() && QFileInfo(logo).isRelative())
        details.logo =
            QFile::encodeName(QFileInfo(QFile::decodeName(path.c_str())).dir().filePath(logo))
                .toStdString();
    return true;
}

QImage LoadReportLogo(const std::string& path, int boxWidth, int boxHeight, std::string& error) {
    QImageReader reader(QFile::decodeName(path.c_str()));
    const QByteArray format = reader.format();
    if (format != "png" && format != "jpeg" && format != "svg") {
        error = reader.canRead() ? Tr(txt::kNotAPicture) : reader.errorString().toStdString();
        return {};
    }
    const QSize size = reader.size();
    if (size.isEmpty()) {
        error = Tr(txt::kPictureNoSize);
        return {};
    }
    const QSize fitted = size.scaled(boxWidth, boxHeight, Qt::KeepAspectRatio);
    // A drawing is as sharp as the pixels it is rendered to; a photo keeps its own pixels
    // unless it has far more than the box can show.
    if (format == "svg" || size.width() > 2 * fitted.width())
        reader.setScaledSize(fitted.expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (image.isNull()) {
        error = reader.errorString().toStdString();
        return {};
    }
    return image;
}

} // namespace qm
