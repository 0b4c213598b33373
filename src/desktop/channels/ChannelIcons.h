#pragma once

#include <QIcon>

namespace qm {

// The channel editor's button icons, drawn from small vector pictures.
enum class ChannelIcon { Upload, Download, Open, Save };
QIcon MakeChannelIcon(ChannelIcon which);

} // namespace qm
