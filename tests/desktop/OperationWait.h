#pragma once

#include <QTest>

#include "desktop/OperationRunner.h"

namespace qm::test {

// Until every meter operation started so far has ended and its window has taken the result
// (a generous bound, so that one that never ends fails the test instead of hanging it).
inline bool WaitForOperations() {
    return QTest::qWaitFor([] { return OperationRunner::Running() == 0; }, 60000);
}

} // namespace qm::test
