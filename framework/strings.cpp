#include "framework/strings.h"

#include <cstdarg>
#include <cwchar>
#include <vector>

namespace str {

std::wstring Load(UINT id)
{
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadString hands back a pointer into the
    // resource itself, so no length limit applies.
    int len = ::LoadStringW(::GetModuleHandleW(nullptr), id,
                            reinterpret_cast<LPWSTR>(&text), 0);
    if (len <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<size_t>(len));
}

std::wstring Format(const wchar_t* format, ...)
{
    std::vector<wchar_t> buf(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        int n = std::vswprintf(buf.data(), buf.size(), format, args);
        va_end(args);
        if (n >= 0 && static_cast<size_t>(n) < buf.size())
            return std::wstring(buf.data(), static_cast<size_t>(n));
        if (buf.size() > (1u << 24))
            return {};
        buf.resize(buf.size() * 4);
    }
}

std::wstring PromptStatusText(const std::wstring& prompt)
{
    return prompt.substr(0, prompt.find(L'\n'));
}

std::wstring PromptTipText(const std::wstring& prompt)
{
    size_t lf = prompt.find(L'\n');
    return lf == std::wstring::npos ? std::wstring() : prompt.substr(lf + 1);
}

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                  0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty())
        return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

}  // namespace str
