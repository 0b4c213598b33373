#pragma once

// The part of libFuzzer's data-provider interface that our targets use, written here so that
// the targets build with any compiler. It splits the input the same way libFuzzer's does
// (integers from the back, byte runs from the front), so a corpus means the same to both builds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <vector>

class FuzzedDataProvider {
public:
    FuzzedDataProvider(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::size_t remaining_bytes() const { return m_size; }

    // An integer in [min, max] from up to sizeof(T) bytes taken off the end of the input, the
    // last byte the most significant; min once the input is used up.
    template <typename T> T ConsumeIntegralInRange(T min, T max) {
        static_assert(std::is_integral_v<T> && sizeof(T) <= sizeof(std::uint64_t));
        if (min > max)
            __builtin_trap();
        const std::uint64_t range =
            static_cast<std::uint64_t>(max) - static_cast<std::uint64_t>(min);
        std::uint64_t value = 0;
        for (std::size_t bits = 0; bits < sizeof(T) * 8 && (range >> bits) > 0 && m_size > 0;
             bits += 8)
            value = (value << 8) | m_data[--m_size];
        if (range != std::numeric_limits<std::uint64_t>::max())
            value %= range + 1;
        return static_cast<T>(static_cast<std::uint64_t>(min) + value);
    }

    template <typename T> T ConsumeIntegral() {
        return ConsumeIntegralInRange(std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    }

    bool ConsumeBool() { return (ConsumeIntegral<std::uint8_t>() & 1) != 0; }

    // Up to count elements' worth of bytes off the front of the input.
    template <typename T> std::vector<T> ConsumeBytes(std::size_t count) {
        static_assert(sizeof(T) == 1);
        const std::size_t n = count < m_size ? count : m_size;
        std::vector<T> bytes(n);
        if (n > 0)
            std::memcpy(bytes.data(), m_data, n);
        m_data += n;
        m_size -= n;
        return bytes;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};
