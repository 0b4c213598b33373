#pragma once

class QWidget;

namespace qm {

// The ribbon's "Channel Editor": shows CDlgEditChannel modally.
void OpenChannelEditor(QWidget* parent);

} // namespace qm
