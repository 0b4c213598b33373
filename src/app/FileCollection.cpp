#include "app/FileCollection.h"

namespace qm {

std::optional<_tagFileDataExt> CFileCollection::At(std::size_t index) const {
    if (index >= m_elements.size())
        return std::nullopt;
    return m_elements[index];
}

} // namespace qm
