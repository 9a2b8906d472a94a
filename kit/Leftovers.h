// The kit's own files beside a target, and the next run's recovery from a run
// that was stopped short (killed, a power cut).
//
// A run writes each item to "<target>.~<tail>.tmp" and moves a replaced
// target to "<target>.~<tail>.bak"; while it puts files in place, an empty
// "<program>.~<tail>.run" beside the program says so. Each tail is 16
// hexadecimal digits from the system's random source, but for the run
// marker's last four: a bit for each target, in catalogue order, that the
// run adds where no file was (bit 0 for the first). Earlier kits named their
// files after the process id ("Anx3.rtf.~1F4.tmp", "Anx3.rtf.~1F4.1.bak"),
// which are recognised too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/FileSystem.h"

namespace kit {

enum class Leftover { None, Temporary, Backup, Run };

// The bits of a run marker's tail that name the targets the run adds.
constexpr std::uint64_t kAddedTargetsMask = 0xFFFF;

// "<target>.~<tail as 16 hexadecimal digits><extension of kind>".
std::string LeftoverPath(const std::string& target, std::uint64_t tail, Leftover kind);

// Which of the kit's files name is for a target named targetName, compared
// as file names compare, without regard to case; its tail into tail, where
// given.
Leftover LeftoverKind(const std::string& name, const std::string& targetName, std::uint64_t* tail = nullptr);

// Brings the targets (in catalogue order, the program among them) back to
// what a stopped run found: with a run marker beside program, the run was
// putting files in place, so every backup is put back over its target and
// every target it added is removed; without one, the run had put every file
// in place (or none), so its backups are removed. Temporary files are removed either way, and a backup whose
// target is missing is always put back. Only regular files with a single
// name are touched; links and second names planted under these names are
// left alone. Fails with "Cannot create file" for a target that can't be
// brought back; then the run must not go on.
void RecoverLeftovers(fw::FileSystem& files, const std::string& program, const std::vector<std::string>& targets);

}  // namespace kit
