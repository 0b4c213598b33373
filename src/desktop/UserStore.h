#pragma once

#include <QSettings>

namespace qm {

// The per-user store of the desktop's own choices (look, limit profile); never setup.ini.
QSettings UserStore();

} // namespace qm
