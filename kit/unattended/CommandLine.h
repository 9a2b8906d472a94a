// The kit's switches for administrators who upgrade many PCs from a script:
// /S upgrades with no window and no dialog, /LOG=<path> appends what happens
// to a file, /? shows the usage, /UNDO puts the kept previous version back. Switches are read without regard to case;
// any other argument is ignored.
#pragma once

#include <string>
#include <vector>

namespace kit {

struct CommandLine {
    bool silent = false;  // /S
    bool usage = false;   // /?
    bool undo = false;    // /UNDO
    std::string logPath;  // /LOG=<path>; empty without the switch
    std::string problem;  // what is wrong with a known switch, or empty
};

// The arguments after the program's own name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace kit
