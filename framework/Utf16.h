// Text is UTF-8 everywhere inside the kit and UTF-16 only at the Win32 edge,
// where the W functions take it: any folder name, any language.
#pragma once

#include <string>
#include <vector>

namespace fw {

// A NUL-terminated UTF-16 copy of a UTF-8 text, for one W call. Kept in a
// vector: std::wstring would link a second copy of the string library.
// Both ways fail with fw::Error (ERROR_NO_UNICODE_TRANSLATION) on a text
// that is no valid Unicode.
class WideText {
public:
    explicit WideText(const std::string& utf8);
    const wchar_t* c_str() const { return chars_.data(); }
    std::size_t size() const { return chars_.size() - 1; }  // without the NUL

private:
    std::vector<wchar_t> chars_;
};

// The UTF-8 text of length UTF-16 units at text.
std::string Utf8(const wchar_t* text, std::size_t length);
// The UTF-8 text of a NUL-terminated UTF-16 text.
std::string Utf8(const wchar_t* text);
// For a text only shown, never used as a name: never fails, an unpaired
// surrogate becomes U+FFFD.
std::string ShownUtf8(const wchar_t* text, std::size_t length);

}  // namespace fw
