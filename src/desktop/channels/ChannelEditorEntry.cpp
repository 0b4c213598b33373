#include "desktop/channels/ChannelEditorEntry.h"

#include "desktop/channels/CDlgEditChannel.h"

namespace qm {

void OpenChannelEditor(QWidget* parent, const std::string& planFile) {
    CDlgEditChannel dialog(parent);
    if (!planFile.empty())
        dialog.OpenFile(planFile);
    dialog.exec();
}

} // namespace qm
