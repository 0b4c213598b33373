#include "desktop/channels/ChannelEditorEntry.h"

namespace qm {

void OpenChannelEditor(QWidget*) {}

} // namespace qm
