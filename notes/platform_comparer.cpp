#include "notes/platform_comparer.h"

bool PlatformComparer::Equal(std::u16string_view a, std::u16string_view b) const
{
    if (a == b)
        return true;
    return ::CompareStringW(LOCALE_USER_DEFAULT, m_bMatchCase ? 0 : NORM_IGNORECASE,
                            reinterpret_cast<const wchar_t*>(a.data()), static_cast<int>(a.size()),
                            reinterpret_cast<const wchar_t*>(b.data()),
                            static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool PlatformComparer::FirstUnitMayMatch(char16_t t, char16_t f) const
{
    if (m_bMatchCase || t == f)
        return t == f;
    if (f != m_cachedFor) {
        m_cache.fill(0);
        m_cachedFor = f;
    }
    uint8_t& known = m_cache[t];
    if (!known) {
        wchar_t a = static_cast<wchar_t>(t), b = static_cast<wchar_t>(f);
        known = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, &a, 1, &b, 1) == CSTR_EQUAL
                    ? 1
                    : 2;
    }
    return known == 1;
}
