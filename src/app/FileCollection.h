#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "measurement/FileDataExt.h"

namespace qm {

// The loaded-file collection: measurement files held in memory, addressed by 0-based index.
// Elements are only appended or all removed; readers get copies. Beside each element the
// collection keeps whether it was read incomplete (a project file cut short): that is known
// only when it is read, and never part of the element's bytes.
class CFileCollection {
public:
    std::size_t Count() const { return m_elements.size(); }
    bool Empty() const { return m_elements.empty(); }
    std::optional<_tagFileDataExt> At(std::size_t index) const;
    const std::vector<_tagFileDataExt>& Elements() const { return m_elements; }

    // Whether element `index` lacks part of its file; false outside the collection.
    bool IsIncomplete(std::size_t index) const {
        return index < m_incomplete.size() && m_incomplete[index];
    }
    const std::vector<bool>& Incomplete() const { return m_incomplete; }

    void Append(const _tagFileDataExt& element, bool incomplete = false) {
        m_elements.push_back(element);
        m_incomplete.push_back(incomplete);
    }
    void Clear() {
        m_elements.clear();
        m_incomplete.clear();
    }
    // `incomplete` may be shorter than the elements: the rest are whole.
    void Assign(std::vector<_tagFileDataExt> elements, std::vector<bool> incomplete = {}) {
        m_elements = std::move(elements);
        m_incomplete = std::move(incomplete);
        m_incomplete.resize(m_elements.size(), false);
    }

private:
    std::vector<_tagFileDataExt> m_elements;
    std::vector<bool> m_incomplete;
};

} // namespace qm
