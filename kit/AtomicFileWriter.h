// Writes a file so that it is either wholly the old file or wholly the new
// one: the bytes go to a temporary file in the target's own folder, are
// flushed, and only then replace the target in one step.
#pragma once

#include <cstddef>
#include <string>

#include "framework/FileSystem.h"

namespace kit {

// Fails with "Cannot create file "<target>". <system text>" when the file
// can't be created or put in place, and with "Stream write error" when the
// bytes can't be written; on failure no temporary file is left.
void WriteFileAtomically(fw::FileSystem& files, const std::string& target, const void* data, std::size_t size);

}  // namespace kit
