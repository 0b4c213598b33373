#pragma once

#include <string>

class QImage;

namespace qm {

// The chart picture save: the frame as a BMP file when path ends in ".bmp" (any case), as PNG
// otherwise, written whole or not at all. False keeps the previous file; errno tells why
// (EINVAL when the frame cannot be encoded).
bool SaveChartPicture(const QImage& frame, const std::string& path);

} // namespace qm
