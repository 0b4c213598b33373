#include "chart/CEndAnalyzer.h"

namespace qm {

CEndAnalyzer::~CEndAnalyzer() {
    StopRenderThread();
}

bool CEndAnalyzer::Create(IFrameSink* /*window*/, const PlotRect& /*windowRect*/) {
    // One surface that is never attached or drawn, and no render thread.
    CreateSurfaces(1);
    return false;
}

void CEndAnalyzer::Resize(int, int, int, int) {}

int CEndAnalyzer::SetKindName() {
    SetKind("CS_NULL_MEAS");
    return 1;
}

void CEndAnalyzer::SetData(const _tagFileDataExt&) {}

void CEndAnalyzer::OnDrag(int, int) {}

} // namespace qm
