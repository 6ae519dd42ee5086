#include "app/StringHelpers.h"

#include <windows.h>

namespace kalvex {

void SplitString(const std::wstring& text, const std::wstring& delimiters, std::vector<std::wstring>& out)
{
    std::wstring::size_type start = 0;
    std::wstring::size_type pos = text.find_first_of(delimiters, start);
    while (pos != std::wstring::npos) {
        out.push_back(text.substr(start, pos - start));
        start = text.find_first_not_of(delimiters, pos);
        if (start == std::wstring::npos)
            return;
        pos = text.find_first_of(delimiters, start);
    }
    if (start < text.size())
        out.push_back(text.substr(start));
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string result(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), length, &result[0], needed, nullptr, nullptr) != needed)
        return std::string();
    return result;
}

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring result(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, &result[0], needed) != needed)
        return std::wstring();
    return result;
}

}  // namespace kalvex
