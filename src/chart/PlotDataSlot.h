#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace qm {

// Plot data handed from the user-interface thread to a running render thread. Publishing
// swaps in a whole new immutable value; a reader keeps the value it loaded alive for as long
// as it draws, so it never sees half of an old and half of a new array.
template <class T> class PlotDataSlot {
public:
    void Publish(T value) {
        auto fresh = std::make_shared<const T>(std::move(value));
        std::lock_guard lock(m_mutex);
        m_value = std::move(fresh);
        ++m_generation;
    }

    std::shared_ptr<const T> Load() const {
        std::lock_guard lock(m_mutex);
        return m_value;
    }

    // Counts publications; nullopt until the first one.
    std::optional<std::uint64_t> Generation() const {
        std::lock_guard lock(m_mutex);
        if (!m_value)
            return std::nullopt;
        return m_generation;
    }

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const T> m_value;
    std::uint64_t m_generation = 0;
};

} // namespace qm
