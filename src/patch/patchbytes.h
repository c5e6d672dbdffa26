#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace jukora::patch {

/// Copies `n` bytes that do not overlap. Most pieces of a patch line are a
/// few dozen bytes, which two loads and two stores cover without a call.
inline void copyBytes(char *to, const char *from, std::size_t n)
{
    if (n >= 8 && n <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n > 16 && n <= 32) {
        char head[16], tail[16];
        std::memcpy(head, from, 16);
        std::memcpy(tail, from + n - 16, 16);
        std::memcpy(to, head, 16);
        std::memcpy(to + n - 16, tail, 16);
    } else if (n > 0) {
        std::memcpy(to, from, n);
    }
}

/// Patch lines as they are made, waiting to be written. A line is sized once
/// and its bytes copied into place; unlike a std::string's resize, growing
/// does not first clear the bytes that are about to be overwritten.
class PatchBytes
{
public:
    /// Room for `n` more bytes at the end, for the caller to fill.
    char *extend(std::size_t n)
    {
        if (m_capacity - m_size < n)
            grow(n);
        char *at = m_data.get() + m_size;
        m_size += n;
        return at;
    }
    void reserve(std::size_t capacity)
    {
        if (capacity > m_capacity)
            grow(capacity - m_size);
    }
    std::string_view view() const { return {m_data.get(), m_size}; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    void clear() { m_size = 0; }

private:
    void grow(std::size_t n)
    {
        const std::size_t capacity = std::max({2 * m_capacity, m_size + n, std::size_t(4096)});
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        if (m_size > 0)
            std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

} // namespace jukora::patch
