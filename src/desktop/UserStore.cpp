#include "desktop/UserStore.h"

namespace qm {

QSettings UserStore() {
    return QSettings(QSettings::UserScope, QStringLiteral("QM7100"),
                     QStringLiteral("QM7100 Workdesk"));
}

} // namespace qm
