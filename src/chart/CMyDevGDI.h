#pragma once

#include <mutex>

#include "chart/CDevGDI.h"

namespace qm {

// The surface the chart controllers use: a plot surface with the surface lock, held by every
// spectrum frame for its whole duration.
class CMyDevGDI : public CDevGDI {
public:
    CMyDevGDI() { SetFrameLock(&m_surfaceLock); }
    ~CMyDevGDI() override = default;

    std::mutex& SurfaceLock() { return m_surfaceLock; }

private:
    std::mutex m_surfaceLock;
};

} // namespace qm
