// The failures of a file the kit writes and of a folder it works in, as the
// user reads them, each carrying the system's code.
#pragma once

#include <string>

#include "framework/Error.h"
#include "framework/FileSystem.h"

namespace kit {

// "Cannot create file "<path>". <system text>", carrying the system's code.
fw::Error CannotCreate(const std::string& path, const fw::Result& result);

// "Dosarul "<folder>" nu poate fi folosit. <system text>".
fw::Error FolderUnusable(const std::string& folder, const fw::Result& result);

// The same, raised; out of line, so that every place that fails stays small.
[[noreturn]] void RaiseCannotCreate(const std::string& path, const fw::Result& result);
[[noreturn]] void RaiseFolderUnusable(const std::string& folder, const fw::Result& result);
// The kit's own text from pattern and its arguments, with no system code.
[[noreturn]] void RaiseText(const char* pattern, std::initializer_list<std::string> args);

}  // namespace kit
