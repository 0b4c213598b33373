#pragma once

namespace qm {

// The analysis pane that follows a chart's marker (the pane's WM_MARKERMOVED, wParam 1).
class IMarkerReceiver {
public:
    virtual ~IMarkerReceiver() = default;
    // Called on the user-interface thread after every drag, moved or not.
    virtual void MarkerMoved(long position) = 0;
};

} // namespace qm
