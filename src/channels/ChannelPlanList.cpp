#include "channels/ChannelPlanList.h"

namespace qm {

CChannelPlanList& TheChannelPlanList() {
    static CChannelPlanList list;
    return list;
}

} // namespace qm
