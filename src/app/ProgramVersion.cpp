#include "app/ProgramVersion.h"

namespace qm {

const char* ProgramVersion() {
    return QM_PROJECT_VERSION;
}

} // namespace qm
