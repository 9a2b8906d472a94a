// Paths beyond the classic limit of 259 characters: a full path in its
// extended-length form, which the W file functions take at any length.
#pragma once

#include <string>

namespace fw {

// "C:\a" as "\\?\C:\a", "\\server\share\a" as "\\?\UNC\server\share\a". A
// path already in a "\\?\" or "\\.\" form, or in no form of a full path, is
// given back as it is. The extended form is taken literally (no "." or ".."
// resolved, no "/" read as "\"), so fullPath must be a full path already.
std::string ExtendedLengthPath(const std::string& fullPath);

}  // namespace fw
