#pragma once

#include <QString>

#include "chart/ChartTypes.h"

namespace qm {

// "%.Nf" with N clamped to 0..99.
QString DecimalsFormat(int decimals);

// How a chart prints a value (marker values, the numeric y scale): with `format` when the value
// has a fractional part, as a decimal integer of its truncated value otherwise.
QString ValueText(double value, const QString& format);

// The text of a row or column label without its suffix. A format without "%" counts as "%d".
// Row labels print the integer value for "d", the single-precision value for "e" and the double
// value for "f"; column labels the integer value for "d" and the double value otherwise.
enum class LabelAxis { Row, Column };
QString LabelText(const AxisLabel& label, LabelAxis axis);

// Real-to-pixel conversion: truncation toward zero, with NaN and huge values kept in a range
// where the pixel arithmetic cannot overflow.
int TruncToPixel(double value);

} // namespace qm
