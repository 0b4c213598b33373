#pragma once

class QBoxLayout;
class QWidget;

namespace qm {

// Distances every pane dialog keeps when it is resized: to the client edges and between
// neighbouring groups.
inline constexpr int kPaneMargin = 7;
inline constexpr int kPaneGap = 7;
// Gives a pane's top-level layout those distances.
void KeepPaneGaps(QBoxLayout& layout);

// Width of a chart pane's "Parameters" (wide) or "Mark" group: two half-width columns that
// hold a date and time, or a channel's value, in the dialog's font.
int DescriptionGroupWidth(const QWidget& dialog, bool wide);

} // namespace qm
