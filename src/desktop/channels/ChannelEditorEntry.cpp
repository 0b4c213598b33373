#include "desktop/channels/ChannelEditorEntry.h"

#include "desktop/channels/CDlgEditChannel.h"

namespace qm {

void OpenChannelEditor(QWidget* parent) {
    CDlgEditChannel dialog(parent);
    dialog.exec();
}

} // namespace qm
