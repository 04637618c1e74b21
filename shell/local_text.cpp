#include "shell/local_text.h"

std::wstring local_text(UINT id)
{
    // With no buffer, LoadStringW hands back the resource's own text.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, length) : std::wstring();
}

std::wstring with_value(std::wstring text, const std::wstring& value)
{
    const std::size_t start = text.find(L'%');
    if (start == std::wstring::npos)
        return text;
    std::size_t end = start + 1;
    while (end < text.size() && (text[end] == L'l' || text[end] == L'h'))
        ++end;
    return text.replace(start, end < text.size() ? end + 1 - start : end - start, value);
}
