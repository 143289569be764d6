// Small owners for the GDI objects the tab strip creates while painting,
// so that no early return leaks one.
#pragma once

#include <windows.h>

#include <utility>

namespace tabstrip {

// Owns one GDI object (pen, brush, bitmap, font, region) and deletes it.
template <class T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T handle) : m_h(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(GdiObject&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_h, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    T Get() const { return m_h; }
    explicit operator bool() const { return m_h != nullptr; }
    void Reset(T handle = nullptr)
    {
        if (m_h)
            ::DeleteObject(m_h);
        m_h = handle;
    }

private:
    T m_h = nullptr;
};

// A memory DC, deleted with its scope.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_dc(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc()
    {
        if (m_dc)
            ::DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HDC m_dc;
};

// Selects an object into a DC until the end of the scope.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectScope()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

}  // namespace tabstrip
