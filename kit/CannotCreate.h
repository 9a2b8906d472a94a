// The failure of a file the kit writes, as the user reads it.
#pragma once

#include <string>

#include "framework/Error.h"
#include "framework/FileSystem.h"
#include "kit/KitTexts.h"

namespace kit {

// "Cannot create file "<path>". <system text>", carrying the system's code.
inline fw::Error CannotCreate(const std::string& path, const fw::Result& result) {
    return fw::Error(fw::FormatMessageText(text::kCannotCreateFile, {path, result.text}), result.code);
}

}  // namespace kit
