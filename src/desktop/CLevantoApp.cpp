#include "desktop/CLevantoApp.h"

namespace qm {

CLevantoApp& CLevantoApp::Instance() {
    static CLevantoApp app;
    return app;
}

} // namespace qm
