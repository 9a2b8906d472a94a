// Writes a file so that it is either wholly the old file or wholly the new
// one: the bytes go to a temporary file in the target's own folder, are
// flushed, and only then replace the target in one step. The replaced file
// is kept under a backup name until the new one is in place, so no failure
// leaves the target without either.
//
// Temporary and backup files are named after their target, with the run's
// id in hexadecimal: "Anx3.rtf.~1F4.tmp", "Anx3.rtf.~1F4.bak" (a second
// attempt adds ".1" before the extension). A run stopped short (killed, a
// power cut) can leave them; RemoveLeftovers clears them away.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/Error.h"
#include "framework/FileSystem.h"

namespace kit {

// Fails with "Cannot create file "<target>". <system text>", carrying the
// system's error code, when the file can't be created, written (a full disk)
// or put in place; the target then holds its old bytes. A target held by
// another program for a moment is waited for, about two seconds.
void WriteFileAtomically(fw::FileSystem& files, const std::string& target, const void* data, std::size_t size);

// "Cannot create file "<path>". <system text>", carrying the system's code.
fw::Error CannotCreate(const std::string& path, const fw::FileResult& result);

// Removes the temporary and backup files earlier runs left beside the
// targets, and nothing else. A backup whose target is missing (a run stopped
// inside the replace) is put back as the target.
void RemoveLeftovers(fw::FileSystem& files, const std::vector<std::string>& targets);

}  // namespace kit
