#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "measurement/FileDataExt.h"

namespace qm {

// The loaded-file collection: measurement files held in memory, addressed by 0-based index.
// Elements are only appended or all removed; readers get copies.
class CFileCollection {
public:
    std::size_t Count() const { return m_elements.size(); }
    bool Empty() const { return m_elements.empty(); }
    std::optional<_tagFileDataExt> At(std::size_t index) const;
    const std::vector<_tagFileDataExt>& Elements() const { return m_elements; }

    void Append(const _tagFileDataExt& element) { m_elements.push_back(element); }
    void Clear() { m_elements.clear(); }
    void Assign(std::vector<_tagFileDataExt> elements) { m_elements = std::move(elements); }

private:
    std::vector<_tagFileDataExt> m_elements;
};

} // namespace qm
