#include "framework/Utf16.h"

#include <windows.h>

#include <cwchar>

#include "framework/Win32Error.h"

namespace fw {

// Both conversions are strict: a text that is no valid Unicode (an unpaired
// surrogate in a folder name) would otherwise become another text, and so
// name another file.
WideText::WideText(const std::string& utf8) {
    const int length = utf8.empty() ? 0
                                    : MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                                          static_cast<int>(utf8.size()), nullptr, 0);
    if (length == 0 && !utf8.empty()) ThrowLastError("Text that is not valid Unicode");
    chars_.assign(static_cast<std::size_t>(length) + 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), chars_.data(),
                            length);
}

namespace {
std::string Converted(const wchar_t* text, std::size_t length, DWORD flags) {
    if (length == 0) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, flags, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (size == 0) ThrowLastError("Text that is not valid Unicode");
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, flags, text, static_cast<int>(length), &utf8[0], size, nullptr, nullptr);
    return utf8;
}
}  // namespace

std::string Utf8(const wchar_t* text, std::size_t length) { return Converted(text, length, WC_ERR_INVALID_CHARS); }

std::string ShownUtf8(const wchar_t* text, std::size_t length) {
    try {
        return Converted(text, length, 0);
    } catch (const std::exception&) {
        return std::string();  // out of memory: the name goes unshown
    }
}

std::string Utf8(const wchar_t* text) { return Utf8(text, std::wcslen(text)); }

}  // namespace fw
