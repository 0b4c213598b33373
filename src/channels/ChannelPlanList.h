#pragma once

#include <cstddef>
#include <vector>

#include "channels/CommonChannel.h"

namespace qm {

// Most channels a plan may hold: the measurement file reserves room for 170 entries.
inline constexpr std::size_t kMaxPlanChannels = 170;
// Fewest channels the meter accepts in a plan write (it sends plans in blocks of four).
inline constexpr std::size_t kMinPlanChannels = 4;
// Most tilt channels in a plan.
inline constexpr int kMaxTiltChannels = 12;

// A channel plan: ordered channel records (record i is shown in grid row i) and the meter kind
// whose entry layout they use (-1 while no plan was read or loaded).
class CChannelPlanList {
public:
    void Clear() { m_records.clear(); }
    void Append(const CommonChannel& record) { m_records.push_back(record); }
    std::size_t Count() const { return m_records.size(); }
    bool Empty() const { return m_records.empty(); }
    // i must be below Count().
    CommonChannel& At(std::size_t i) { return m_records[i]; }
    const CommonChannel& At(std::size_t i) const { return m_records[i]; }
    const std::vector<CommonChannel>& Records() const { return m_records; }
    void Assign(std::vector<CommonChannel> records) { m_records = std::move(records); }

    int Kind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }

private:
    std::vector<CommonChannel> m_records;
    int m_kind = -1;
};

// The process-wide channel plan list the channel editor works on (user-interface thread only).
CChannelPlanList& TheChannelPlanList();

} // namespace qm
