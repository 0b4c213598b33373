#pragma once

#include <string>

class QWidget;

namespace qm {

// The ribbon's "Channel Editor": shows CDlgEditChannel modally, with a channel-plan file
// already opened when one is named (qm7100-workdesk FILE.f71CH).
void OpenChannelEditor(QWidget* parent, const std::string& planFile = {});

} // namespace qm
