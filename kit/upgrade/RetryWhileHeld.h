// Waiting for a file that another program holds for a moment, as a virus
// scanner or a backup program does.
#pragma once

#include <algorithm>

#include "framework/FileSystem.h"

namespace kit {

constexpr unsigned kHoldPatienceMs = 2000;  // how long a held file is waited for

// Runs step again while it fails because something holds the file, with
// pauses growing from 25 to 250 ms, for about two seconds in all; gives the
// last attempt's result.
template <typename Step>
fw::Result RetryWhileHeld(fw::FileSystem& files, Step step) {
    unsigned waited = 0, pause = 25;
    for (;;) {
        fw::Result result = step();
        if (result || !result.Held() || waited >= kHoldPatienceMs) return result;
        files.Pause(pause);
        waited += pause;
        pause = std::min(pause * 2, 250u);
    }
}

}  // namespace kit
