#include "chart/ChartPicture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cctype>
#include <cerrno>

#include "base/BinaryFile.h"

namespace qm {

namespace {

bool EndsWithBmp(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".bmp";
}

} // namespace

bool SaveChartPicture(const QImage& frame, const std::string& path) {
    // Encoded in memory first, so that the file is written like every other one.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (frame.isNull() || !buffer.open(QIODevice::WriteOnly) ||
        !frame.save(&buffer, EndsWithBmp(path) ? "BMP" : "PNG")) {
        errno = EINVAL;
        return false;
    }
    return ReplaceFileContents(path, {{reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())}}) ==
           ReplaceStatus::Ok;
}

} // namespace qm
