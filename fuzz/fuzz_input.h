// Takes typed values off the front of a fuzzing input; past the end every
// value is zero, so any input is a complete one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    template <typename T>
    T Take()
    {
        T value{};
        size_t n = sizeof(T) < m_size - m_pos ? sizeof(T) : m_size - m_pos;
        if (n)
            std::memcpy(&value, m_data + m_pos, n);
        m_pos += n;
        return value;
    }
    // An integer in [lo, hi].
    int TakeInRange(int lo, int hi)
    {
        uint32_t span = static_cast<uint32_t>(static_cast<int64_t>(hi) - lo) + 1u;
        uint32_t raw = Take<uint32_t>();
        return span == 0 ? static_cast<int>(raw) : static_cast<int>(lo + static_cast<int64_t>(raw % span));
    }
    // Up to maxUnits UTF-16 units.
    std::u16string TakeText(size_t maxUnits)
    {
        size_t n = Take<uint8_t>() % (maxUnits + 1);
        std::u16string text;
        for (size_t i = 0; i < n && !Empty(); ++i)
            text += static_cast<char16_t>(Take<uint16_t>());
        return text;
    }
    bool Empty() const { return m_pos >= m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Stops the run at a broken property, naming it: libFuzzer and the replay
// both report it.
inline void FuzzCheckAt(bool condition, const char* what, const char* file, int line)
{
    if (!condition) {
        std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
        std::abort();
    }
}
#define FuzzCheck(condition) FuzzCheckAt((condition), #condition, __FILE__, __LINE__)
