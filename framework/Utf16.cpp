#include "framework/Utf16.h"

#include <windows.h>

#include <cwchar>

namespace fw {

WideText::WideText(const std::string& utf8) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    chars_.assign(static_cast<std::size_t>(length) + 1, L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), chars_.data(), length);
}

std::string Utf8(const wchar_t* text, std::size_t length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

std::string Utf8(const wchar_t* text) { return Utf8(text, std::wcslen(text)); }

}  // namespace fw
